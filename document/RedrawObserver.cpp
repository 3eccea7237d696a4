#include "document/RedrawObserver.h"

#include "engine/MessageSink.h"

void RedrawObserver::onGameChanged() {
    m_sink.post(WmAppRedraw{});
}
