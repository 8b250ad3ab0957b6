// Drives a running Option as a user would: its controls are found by their
// ids (1000 + key of skin_config.ini) and clicked through their parent, its
// file dialogs and message boxes are filled in and answered, and its window
// is photographed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/settings/settings_block.h"

#include "tests/e2e/harness/harness_win.h"

namespace e2e {

class OptionDriver {
  public:
    explicit OptionDriver(const ProgramFolder& folder) : folder_(folder) {}
    ~OptionDriver();

    // Starts Option.exe and waits for its window.
    bool Start();
    HWND Window() const;
    Program& Process() { return process_; }

    // A click on the control of key `key`, as its BN_CLICKED reaches the window.
    void Click(int key) const;
    bool Enabled(int key) const;
    // Both OK and Apply enabled.
    bool ApplyReady() const { return Enabled(12) && Enabled(13); }
    bool PageVisible(int page) const;
    // After the `count`th Apply that reached Monitor: waits for Monitor's
    // answer and reads the block Option published. Null when either fails.
    std::unique_ptr<settings::SettingsBlock> AppliedBlock(int count) const;
    void Key(UINT virtualKey) const;
    // Real key strokes, as the keyboard gives them to the foreground window
    // (Option is brought forward first), with Ctrl and Shift held as asked.
    void Type(WORD virtualKey, bool ctrl = false, bool shift = false) const;
    // The window that has the keyboard focus in Option's thread.
    HWND Focus() const;

    // A window of Option's process other than the main window (a file
    // dialog or a message box), once it is shown.
    // With `control` other than 0, only a dialog that has a control of that id.
    HWND WaitForDialog(int control = 0) const;
    // Fills the file name of the open or save dialog and presses its button;
    // waits for the dialog to close unless a prompt is expected on top of it.
    bool ChooseFile(const std::string& path, bool promptFollows = false) const;
    // Presses the button `id` (IDOK, IDYES...) of the dialog that has it.
    bool Answer(int id) const;

    // The window (the main window when null) as the screen shows it, into
    // the artefacts folder as name.bmp.
    bool Screenshot(const std::string& name, HWND window = nullptr) const;

    // Waits for Option to end by itself.
    bool WaitGone() const;

  private:
    const ProgramFolder& folder_;
    Program process_;
};

// Shown, nothing left to paint in it or its controls, and its thread answering.
bool Painted(HWND window);

// The artefacts folder (env MOUSE_ARTIFACTS) as a Windows path, "" when unset.
std::string ArtifactsFolder();

}  // namespace e2e
