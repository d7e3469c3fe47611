// What the settings writer needs of the reader: whether a file is one the
// reader wholly understands, and closing the file being read, since only one
// settings file is open at a time.
#pragma once

#include <string>

namespace tervane::prefs {

// 0 when the regular file open on `descriptor`, found at `path`, is wholly
// the reader's (see preferences.h); otherwise the errno that says why not.
int Misunderstanding(int descriptor, const std::string& path);

// Closes the file being read, if any, and drops its text.
void CloseReading();

}  // namespace tervane::prefs
