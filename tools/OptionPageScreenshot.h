// The option page in a sheet of its own, for the main job's pictures: the
// document sheet does not include the page, so the main job hosts it.
#pragma once

#include <string>
#include <vector>

// Shows the option page on a copy of `record` (a whole settings record),
// saves "option-page.png" into `folder`, cancels and adds the file to
// `pictures` (nothing when no picture was taken). A faulty picture (see
// SaveTabScreenshots) sets `faulty`.
void AddOptionPageScreenshot(const std::wstring& folder, const void* record, std::vector<std::wstring>* pictures,
                             bool* faulty);
