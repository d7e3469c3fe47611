// The replay file: everything that decides a run (the random seed, the
// settings that change play) and, frame by frame, the input the game's
// controls saw. Playing it back draws the same frames again.
//
// Layout, integers little-endian, "varint" an unsigned LEB128 number:
//   "TVRP", format version (1 byte), game version (1 length byte + text),
//   seed (i32), UseKeys (1 byte, 0 or 1), HiScore (i32, >= 0);
//   then records: 'F' for a frame with input, 'E' for the end of the run.
//   'F': varint frames since the previous record's frame (the first record
//        counts from frame -1, so a delta is at least 1), varint
//        2 * events + (1 when a joystick reading follows), the events as
//        varint 2 * symbol + down, then the joystick byte:
//        bits 0-1 X + 1, bits 2-3 Y + 1, bit 4 button 1.
//   'E': varint number of frames the run had, past the last record's frame.
// The recorder writes a record at least every 75 frames, counted from frame 0;
// the reader refuses a longer gap before a record or before the end.
// Frames without a record saw no key events and an unchanged joystick. A
// file without 'E' was cut short: it plays up to its last complete record.
#pragma once

#include "runtime/input/keyboard.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

constexpr uint8_t ReplayFormatVersion = 1;
// Larger files are refused before they are read.
constexpr int64_t ReplayMaxFileSize = 64 * 1024 * 1024;
// More key events than this in one frame cannot come from a keyboard.
constexpr int32_t ReplayMaxFrameEvents = 4096;

// What the game's joystick reading gave in one frame.
struct JoystickReading {
    int32_t x = 0;       // -1, 0 or +1
    int32_t y = 0;       // -1, 0 or +1
    int32_t button = 0;  // button 1: 0 or 1

    bool operator==(const JoystickReading&) const = default;
};

struct ReplayHeader {
    std::string gameVersion;
    int32_t seed = 0;
    int32_t useKeys = 0;
    int32_t hiScore = 0;
};

// The input of one frame.
struct ReplayFrame {
    std::vector<QV_KeyEvent> keys;
    JoystickReading joystick;
};

// A replay read and checked whole; the frames are decoded as they are
// played, so a large file costs no more memory than its bytes.
struct Replay {
    ReplayHeader header;
    std::vector<uint8_t> bytes;
    size_t firstRecord = 0;  // offset of the first record in `bytes`
    int32_t frameCount = 0;  // frames to play
    bool cutShort = false;   // no end record: the recorder was stopped
};

// Checks `bytes` as a replay. On success fills `replay` and returns an empty
// string; otherwise returns what is wrong, in a few words.
std::string ParseReplay(std::vector<uint8_t> bytes, Replay& replay);

// Reads and checks the file at `path`, which must be a regular file (a pipe
// is refused, not waited on). Returns an empty string on success, otherwise
// the one line to show: the file's name and what is wrong.
std::string LoadReplay(const std::string& path, Replay& replay);

// Hands out a checked replay's frames in order.
class ReplayCursor {
public:
    explicit ReplayCursor(const Replay& replay);

    // Fills `frame` with the input of the next frame; false once all
    // frameCount frames have been handed out.
    bool Next(ReplayFrame& frame);

private:
    void DecodeRecord();

    const Replay* replay_;
    size_t offset_;
    int32_t frame_ = 0;         // the frame Next hands out next
    int32_t recordFrame_ = -1;  // the frame of the decoded record, -1 for none left
    ReplayFrame recorded_;      // that record's input
    JoystickReading joystick_;  // the reading in force
};

// Writes a replay as the run goes. Every call reports failure by returning
// false; the file is flushed at least once every FlushFrames frames.
class ReplayWriter {
public:
    static constexpr int32_t FlushFrames = 75;

    explicit ReplayWriter(std::FILE* file);

    // A negative hi score is written as 0, so that every header reads back.
    bool WriteHeader(const ReplayHeader& header);
    // The input of frame `frame`, frames counted from 0 and given in order.
    bool WriteFrame(int32_t frame, std::span<const QV_KeyEvent> keys, const JoystickReading& joystick);
    // Ends the replay after `frameCount` frames and flushes it.
    bool Finish(int32_t frameCount);
    // True once a flush took frames to the file, not just the header.
    bool HoldsFrames() const;

private:
    bool WriteRecord(int32_t frame, std::span<const QV_KeyEvent> keys, const JoystickReading* joystick);
    bool Put(const std::vector<uint8_t>& bytes);

    std::FILE* file_;
    int32_t lastRecordFrame_ = -1;
    int32_t lastFlushFrame_ = 0;
    bool holdsFrames_ = false;
    JoystickReading joystick_;
};
