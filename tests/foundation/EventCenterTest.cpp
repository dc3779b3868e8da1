#include "foundation/EventCenter.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(EventCenter, BoundCallbacksRunForTheirOwnerAndEventOnly)
{
    int owner = 0;
    int other = 0;
    int target = 0;
    int calls = 0;
    bind_event(&owner, u"refresh_plugins"_s, &target, [&] { ++calls; });
    send_event(&owner, u"refresh_plugins"_s);
    send_event(&other, u"refresh_plugins"_s);
    send_event(&owner, u"other"_s);
    EXPECT_EQ(calls, 1);

    post_event(&owner, u"refresh_plugins"_s);
    EXPECT_EQ(calls, 1); // posted: runs on a later turn of the event loop
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 2);

    unbind_event(&owner, &target);
    send_event(&owner, u"refresh_plugins"_s);
    EXPECT_EQ(calls, 2);
}
