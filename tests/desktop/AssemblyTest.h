#pragma once

#include "DesktopTest.h"
#include "Recorders.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "platform/MemoryPasteboard.h"
#include "platform/UserDefaults.h"

#include <memory>

namespace glimra::test {

/// The program's own assembly in this process, on the private X server: the built-in
/// matchers and actions, the real settings file of the test's home, a clipboard in memory
/// and a workspace that writes down what it is asked.
class AssemblyTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        platform.workspace = workspace;
        platform.generalPasteboard = std::make_shared<MemoryPasteboard>();
        assembly = std::make_unique<MainInterface>(platform, std::make_shared<UserDefaults>(), nullptr);
    }
    void TearDown() override
    {
        assembly.reset();
        DesktopTest::TearDown();
    }
    AppDelegate &delegate() { return assembly->appDelegate(); }

    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    Platform platform;
    std::unique_ptr<MainInterface> assembly;
};

} // namespace glimra::test
