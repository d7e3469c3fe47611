// The settings file: lines of `key = value`, one file at a time, open either
// for reading or for writing.
//
// Reading loads the whole text at open time and answers each lookup by
// scanning it; a missing file, key or text always yields the caller's
// default. Writing goes through symbolic links to the file they finally name,
// but not through a link that another user put in a sticky folder everyone
// may write to. The text is gathered in memory and, when closing, goes to a
// temporary file beside that file, which replaces it only when every byte
// reached the disk, so a program that dies mid-write leaves the previous
// settings intact. A file with more than one hard link or another owner, or
// one in a folder where no temporary file can be made, is overwritten in place
// instead. A file the reader does not wholly understand is never replaced.
//
// Format accepted by the reader, line by line from the start of the text:
//  - CR, LF and CR LF each end a line; a leading UTF-8 byte-order mark is
//    skipped;
//  - a header naming the file's own group, its name without the extension
//    ("[Tervane]" in Tervane.ini, in any letter case), is skipped; a line
//    starting with any other '[' ends the searchable part;
//  - leading spaces are skipped (a leading tab makes the line no key's);
//  - a line whose first character is the comment marker ';' is skipped;
//  - the key runs up to a space, a tab, '=' or the line end, and matches
//    ignoring ASCII case; spaces and tabs may surround the '=';
//  - the value runs up to the line end (LF, CR or NUL), trailing spaces kept;
//  - the first matching line wins.
// The file is wholly understood when it is no larger than the reader reads,
// holds no NUL byte, each of its lines is blank, a comment, the own group's
// header or `key = value` with a key of printable ASCII, and no key is given
// twice.
// The writer produces `key = value` lines ending in CR LF.
#pragma once

#include <cstdint>
#include <cstdio>

// Only this much of a settings file is ever loaded; a longer file is read up
// to this size, so its early keys are still found, and never replaced.
inline constexpr int32_t QV_PreferenceMaxFileSize = 1 << 20;

// Prepares the layer; called once at start-up before anything else here.
void QV_InitPreference();

// Closes any open file, then opens `path` for reading. Returns the stream, or
// nullptr (errno telling why) when `path` is null or the file cannot be
// opened.
FILE* QV_OpenPreferences(const char* path);

// 1 when the file open for reading is a regular file the reader wholly
// understands (see above). Otherwise 0, errno telling why: EINVAL, not a
// regular file; EFBIG, larger than the reader reads; EILSEQ, text it does not
// understand; EEXIST, a key given twice; ENOMEM, no memory for its text;
// EBADF, no file open for reading.
int32_t QV_PreferencesUnderstood();

// The first key the file open for reading gives twice, as its second line
// spells it; "" when there is none.
const char* QV_PreferenceKeyGivenTwice();

// Closes any open file, then starts writing a new `path` (it replaces the old
// one on QV_ClosePreferences) and clears the temporary files that writers now
// gone left beside it. Returns the stream, or nullptr (errno telling why) when
// the file cannot be created, or when an existing one must be left alone:
// nothing is then written. It is left alone when it is not a regular file
// (EINVAL), when its mode gives no one read or no one write permission, even
// to root, or the player cannot both read and write it (EACCES), when the
// reader does not wholly understand it (EFBIG, EILSEQ, EEXIST), and when a symbolic
// link on the way may not be followed (EACCES).
FILE* QV_CreatePreferences(const char* path);

// Writes the value of `key`, or `defaultValue` when there is none, at
// `destination` in the temporary string area (normally QV_StringBase), leaves
// QV_StringBase on its NUL and returns the base it had on entry. The text is
// cut short at the area's end. A null or empty key, or no file open for
// reading, yields the default.
char* QV_ReadPreferenceString(const char* key, const char* defaultValue, char* destination);

// Appends the line `key = value` CR LF to the file being written (a null value
// is written as ""). Does nothing without a file or with a null or empty key.
void QV_WritePreferenceString(const char* key, const char* value);

// Closes the file and drops the loaded text. A file being written replaces the
// old settings only if every byte reached the disk; otherwise the old file is
// kept, the new one discarded, and the result is 0 with errno telling why.
// Returns 1 otherwise.
int32_t QV_ClosePreferences();

// Same as QV_ClosePreferences, and lets go of the lock; called once at exit.
void QV_FreePreferences();

// Takes an advisory lock on the folder that holds the file `path` names, its
// symbolic links followed, which every writer of the game's settings there
// takes, so that one copy's read, compare and replace cannot interleave with
// another's. Waits at most `waitMilliseconds`
// for a copy holding it; returns 1 when held, 0 (errno set) otherwise.
int32_t QV_LockPreferences(const char* path, int32_t waitMilliseconds);

// Lets go of the lock, if held.
void QV_UnlockPreferences();
