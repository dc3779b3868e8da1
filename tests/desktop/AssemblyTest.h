#pragma once

#include "DesktopTest.h"
#include "Recorders.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "platform/MemoryClipboard.h"
#include "platform/UserDefaults.h"

#include <memory>

namespace glimra::test {

/// The program's own assembly in this process, on the private X server: the built-in
/// matchers and actions, the real settings file of the test's home, a clipboard in memory
/// and a file manager that writes down what it is asked.
class AssemblyTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        platform.fileManager = fileManager;
        platform.clipboard = std::make_shared<MemoryClipboard>();
        platform.notifier = notifier;
        assembly = std::make_unique<MainInterface>(platform, std::make_shared<UserDefaults>(), nullptr);
    }
    void TearDown() override
    {
        assembly.reset();
        DesktopTest::TearDown();
    }
    AppDelegate &delegate() { return assembly->appDelegate(); }

    std::shared_ptr<RecordingFileManager> fileManager = std::make_shared<RecordingFileManager>();
    std::shared_ptr<RecordingNotifier> notifier = std::make_shared<RecordingNotifier>();
    Platform platform;
    std::unique_ptr<MainInterface> assembly;
};

} // namespace glimra::test
