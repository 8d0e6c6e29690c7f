// The watermark preview dialog for the main job: shown to the user, or
// headless saved as pictures beside those of the sheet.
#pragma once

#include <string>

// Opens the preview dialog of the built module. With an empty folder the
// user works it and closes it; otherwise pictures of the portrait and the
// landscape page are saved into `screenshotFolder` and the dialog is
// closed. Prints what it saved; returns false when the dialog did not show.
bool ShowWatermarkPreview(const std::wstring& screenshotFolder);
