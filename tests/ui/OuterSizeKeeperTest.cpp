#include "ui/OuterSizeKeeper.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// What the window reports, in order: a frame it now has, or a resize of its client area.
struct Report {
    enum Kind { frame, resize } kind;
    QSize size;
    bool shown = false;
};

struct Case {
    const char* name;
    std::vector<Report> reports;
    std::vector<QSize> requests; // the client sizes the keeper asks for, in order
    QSize outerAtClose;
    QSize stored;
};

// 800 x 600 stored; openbox-like frames add 2 x 25.
const QSize stored(800, 600);
const QSize frame(2, 25);

TEST(OuterSizeKeeper, TheStoredOuterSizeRoundTrips) {
    const std::vector<Case> cases = {
        {"no window manager: no frame ever",
         {{Report::frame, {0, 0}}, {Report::resize, {800, 600}, true}},
         {{800, 600}},
         {800, 600},
         {800, 600}},
        {"the frame comes after the window manager framed the window",
         {{Report::frame, {0, 0}},
          {Report::frame, frame},
          {Report::resize, {798, 575}},
          {Report::frame, frame}},
         {{800, 600}, {798, 575}},
         {800, 600},
         {800, 600}},
        {"the frame is known only once shown",
         {{Report::frame, {0, 0}}, {Report::frame, frame}, {Report::resize, {798, 575}, true}},
         {{800, 600}, {798, 575}},
         {800, 600},
         {800, 600}},
        {"a tiling window manager refuses the size before the window shows",
         {{Report::frame, {0, 0}}, {Report::resize, {640, 1024}}, {Report::frame, {0, 0}}},
         {{800, 600}},
         {640, 1024},
         {800, 600}},
        {"the user resizes",
         {{Report::frame, {0, 0}},
          {Report::frame, frame},
          {Report::resize, {798, 575}, true},
          {Report::resize, {900, 700}, true},
          {Report::frame, {0, 0}}}, // maximised without a frame: no more fitting
         {{800, 600}, {798, 575}},
         {902, 725},
         {902, 725}},
    };
    for (const Case& c : cases) {
        OuterSizeKeeper keeper(stored);
        std::vector<QSize> requests;
        for (const Report& report : c.reports) {
            if (report.kind == Report::resize) {
                keeper.resized(report.size, report.shown);
            } else if (const std::optional<QSize> client = keeper.clientSizeFor(report.size)) {
                requests.push_back(*client);
            }
        }
        EXPECT_EQ(requests, c.requests) << c.name;
        EXPECT_EQ(keeper.outerSizeToStore(c.outerAtClose), c.stored) << c.name;
    }
}

} // namespace
