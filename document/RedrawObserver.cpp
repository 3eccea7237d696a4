#include "document/RedrawObserver.h"

#include "platform/MessageSink.h"

void RedrawObserver::onGameChanged() {
    m_sink.post(WmAppRedraw{});
}
