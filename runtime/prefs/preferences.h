// The settings file: lines of `key = value`, one file at a time, open either
// for reading or for writing.
//
// Reading loads the whole text at open time and answers each lookup by
// scanning it; a missing file, key or text always yields the caller's
// default. Writing goes through symbolic links to the file they finally name.
// It is gathered in memory and, when closing, goes to a temporary file beside
// that file, which replaces it only when every byte reached the disk, so a
// program that dies mid-write leaves the previous settings intact. A file with
// more than one hard link or another owner, or one in a folder where no
// temporary file can be made, is overwritten in place instead.
//
// Format accepted by the reader, line by line from the start of the text:
//  - CR, LF and CR LF each end a line; a leading UTF-8 byte-order mark is
//    skipped;
//  - a line starting with '[' ends the searchable part;
//  - leading spaces are skipped (tabs are ordinary characters);
//  - a line whose first character is the comment marker ';' is skipped;
//  - the key runs up to a space, '=' or the line end, and matches ignoring
//    ASCII case; spaces may surround the '=';
//  - the value runs up to the line end (LF, CR or NUL), trailing spaces kept;
//  - the first matching line wins.
// The writer produces `key = value` lines ending in CR LF.
#pragma once

#include <cstdint>
#include <cstdio>

// Only this much of a settings file is ever loaded; a longer file is read up
// to this size, so its early keys are still found.
inline constexpr int32_t QV_PreferenceMaxFileSize = 1 << 20;

// Prepares the layer; called once at start-up before anything else here.
void QV_InitPreference();

// Closes any open file, then opens `path` for reading. Returns the stream, or
// nullptr (errno telling why) when `path` is null or the file cannot be
// opened.
FILE* QV_OpenPreferences(const char* path);

// Closes any open file, then starts writing a new `path` (it replaces the old
// one on QV_ClosePreferences) and clears the temporary files that writers now
// gone left beside it. Returns the stream, or nullptr when the file cannot be
// created, or when an existing one is not a regular file or cannot be both
// read and written: nothing is then written.
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
// kept and the new one discarded.
void QV_ClosePreferences();

// Same as QV_ClosePreferences; called once at exit.
void QV_FreePreferences();
