#include <gtest/gtest.h>

#include "browser/ExpandBranch.h"
#include "core/TreePopulation.h"
#include "support/AppFixture.h"

namespace bw::test {
namespace {

using ExpandBranchTest = AppFixture;

TEST_F(ExpandBranchTest, ReadsTheWholeBranchOrStopsWhenAsked) {
    for (const char* d : {"A/B/C", "A/D"}) c.createDir(d);
    c.createFile("A/B/x.cr2");
    for (const bool stopAtOnce : {false, true}) {
        SCOPED_TRACE(stopAtOnce);
        GetDrives(*app);
        Node* a = expandTo("C:\\A");
        ASSERT_TRUE(a);
        bool stop = false;
        desktop.onDoEvents = [&] { stop = stopAtOnce; };
        desktop.SetCaption("Brindlewood: C:\\A");
        EXPECT_EQ(ExpandBranch(*app, *a, stop), stopAtOnce ? 1u : 4u);
        Node* b = childNamed(a, "B");
        ASSERT_TRUE(b);
        EXPECT_EQ(b->expanded(), !stopAtOnce);
        if (!stopAtOnce) {
            EXPECT_TRUE(childNamed(b, "C")->expanded() && childNamed(a, "D")->expanded());
            EXPECT_TRUE(childNamed(b, "x.cr2")->expanded());  // its red line shows
        }
        EXPECT_EQ(desktop.Caption(), "Brindlewood: C:\\A");
        EXPECT_FALSE(desktop.busy());
    }
}

}  // namespace
}  // namespace bw::test
