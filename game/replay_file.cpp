#include "game/replay_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace {

constexpr char Magic[] = {'T', 'V', 'R', 'P'};
constexpr uint8_t FrameRecord = 'F';
constexpr uint8_t EndRecord = 'E';

// The latest frame the record after that of frame `previous` (-1 before the
// first) can have: the recorder writes one at least every FlushFrames frames,
// counted from frame 0, so neither that record nor the end of the run lies
// further on. Larger gaps would let a small file claim a run of months.
int32_t LatestNextRecord(int32_t previous)
{
    return std::max(previous, 0) + ReplayWriter::FlushFrames;
}

// ---- Encoding ----------------------------------------------------------------

void PutVarint(std::vector<uint8_t>& out, uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

void PutInt32(std::vector<uint8_t>& out, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(bits >> shift));
}

uint8_t JoystickByte(const JoystickReading& reading)
{
    return static_cast<uint8_t>((reading.x + 1) | (reading.y + 1) << 2 | reading.button << 4);
}

// ---- Decoding ----------------------------------------------------------------

// Reads from a checked span; every read fails, instead of reading past the
// end, once the bytes run out.
class ByteReader {
public:
    ByteReader(std::span<const uint8_t> bytes, size_t offset) : bytes_(bytes), offset_(offset) {}

    bool AtEnd() const { return offset_ == bytes_.size(); }
    // True once a number ran on past the longest the format has.
    bool Overlong() const { return overlong_; }
    size_t Offset() const { return offset_; }

    bool Byte(uint8_t& value)
    {
        if (AtEnd())
            return false;
        value = bytes_[offset_++];
        return true;
    }

    bool Int32(int32_t& value)
    {
        uint32_t bits = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint8_t byte = 0;
            if (!Byte(byte))
                return false;
            bits |= static_cast<uint32_t>(byte) << shift;
        }
        value = static_cast<int32_t>(bits);
        return true;
    }

    // A varint of at most 35 bits, so the numbers the format holds (32-bit
    // counts, and symbol or count pairs) cannot overflow.
    bool Varint(uint64_t& value)
    {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            uint8_t byte = 0;
            if (!Byte(byte))
                return false;
            value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return true;
        }
        overlong_ = true;
        return false;
    }

    bool Text(size_t length, std::string& text)
    {
        if (bytes_.size() - offset_ < length)
            return false;
        text.assign(reinterpret_cast<const char*>(bytes_.data() + offset_), length);
        offset_ += length;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t offset_;
    bool overlong_ = false;
};

bool DecodeJoystick(uint8_t byte, JoystickReading& reading)
{
    const int32_t x = byte & 3;
    const int32_t y = (byte >> 2) & 3;
    if (x == 3 || y == 3 || (byte >> 5) != 0)
        return false;
    reading = {x - 1, y - 1, (byte >> 4) & 1};
    return true;
}

enum class RecordResult { Frame, End, Incomplete, Bad };

// One record's body after its tag; `error` says what is wrong for Bad.
struct RecordReading {
    int32_t frame = 0;  // the record's frame, or the frame count for End
    ReplayFrame input;
    bool hasJoystick = false;
    std::string error;
};

RecordResult ReadFrameRecord(ByteReader& reader, int32_t previousFrame, RecordReading& reading)
{
    uint64_t delta = 0;
    uint64_t countAndFlag = 0;
    if (!reader.Varint(delta) || !reader.Varint(countAndFlag))
        return RecordResult::Incomplete;
    if (delta == 0) {
        reading.error = "events out of frame order";
        return RecordResult::Bad;
    }
    if (delta > static_cast<uint64_t>(LatestNextRecord(previousFrame) - previousFrame)) {
        reading.error = "a gap of more frames than the recorder leaves between records";
        return RecordResult::Bad;
    }
    const uint64_t count = countAndFlag >> 1;
    if (count > ReplayMaxFrameEvents) {
        reading.error = "more key events in one frame than a keyboard can give";
        return RecordResult::Bad;
    }
    reading.frame = previousFrame + static_cast<int32_t>(delta);
    reading.hasJoystick = (countAndFlag & 1) != 0;
    reading.input.keys.clear();
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t event = 0;
        if (!reader.Varint(event))
            return RecordResult::Incomplete;
        if ((event >> 1) >= QV_KEYBOARD_KEYS) {
            reading.error = "a key symbol beyond the keyboard's";
            return RecordResult::Bad;
        }
        reading.input.keys.push_back({static_cast<int32_t>(event >> 1), static_cast<int32_t>(event & 1)});
    }
    if (reading.hasJoystick) {
        uint8_t byte = 0;
        if (!reader.Byte(byte))
            return RecordResult::Incomplete;
        if (!DecodeJoystick(byte, reading.input.joystick)) {
            reading.error = "an impossible joystick reading";
            return RecordResult::Bad;
        }
    }
    return RecordResult::Frame;
}

// Reads the record at the reader's position: a frame record after
// `previousFrame`, or the end record.
RecordResult ReadRecordBody(ByteReader& reader, int32_t previousFrame, RecordReading& reading)
{
    uint8_t tag = 0;
    if (!reader.Byte(tag))
        return RecordResult::Incomplete;
    if (tag == FrameRecord)
        return ReadFrameRecord(reader, previousFrame, reading);
    if (tag != EndRecord) {
        reading.error = "an unknown record";
        return RecordResult::Bad;
    }
    uint64_t frameCount = 0;
    if (!reader.Varint(frameCount))
        return RecordResult::Incomplete;
    // The run ends after the last record's frame and before the next record
    // the recorder would have had to write.
    if (static_cast<int64_t>(frameCount) <= previousFrame ||
        frameCount > static_cast<uint64_t>(LatestNextRecord(previousFrame))) {
        reading.error = "a frame count that does not fit its frames";
        return RecordResult::Bad;
    }
    reading.frame = static_cast<int32_t>(frameCount);
    return RecordResult::End;
}

RecordResult ReadRecord(ByteReader& reader, int32_t previousFrame, RecordReading& reading)
{
    const RecordResult result = ReadRecordBody(reader, previousFrame, reading);
    if (result == RecordResult::Incomplete && reader.Overlong()) {
        reading.error = "a number longer than any the format holds";
        return RecordResult::Bad;
    }
    return result;
}

std::string ParseHeader(ByteReader& reader, ReplayHeader& header)
{
    std::string magic;
    if (!reader.Text(sizeof Magic, magic) || std::memcmp(magic.data(), Magic, sizeof Magic) != 0)
        return "not a Tervane replay";
    uint8_t version = 0;
    if (!reader.Byte(version))
        return "cut short in its header";
    if (version == 0)
        return "an impossible format version 0";
    if (version > ReplayFormatVersion)
        return "made by a newer Tervane (replay format " + std::to_string(version) + ", this one reads " +
            std::to_string(ReplayFormatVersion) + ")";
    uint8_t length = 0;
    uint8_t useKeys = 0;
    if (!reader.Byte(length) || !reader.Text(length, header.gameVersion) || !reader.Int32(header.seed) ||
        !reader.Byte(useKeys) || !reader.Int32(header.hiScore))
        return "cut short in its header";
    if (useKeys > 1)
        return "an impossible control setting " + std::to_string(useKeys);
    if (header.hiScore < 0)
        return "an impossible hi score " + std::to_string(header.hiScore);
    header.useKeys = useKeys;
    return {};
}

}  // namespace

std::string ParseReplay(std::vector<uint8_t> bytes, Replay& replay)
{
    if (static_cast<int64_t>(bytes.size()) > ReplayMaxFileSize)
        return "larger than a replay can be (64 MiB)";
    replay = {};
    ByteReader reader(bytes, 0);
    if (std::string error = ParseHeader(reader, replay.header); !error.empty())
        return error;
    replay.firstRecord = reader.Offset();

    RecordReading reading;
    int32_t lastFrame = -1;
    for (;;) {
        const RecordResult result = ReadRecord(reader, lastFrame, reading);
        if (result == RecordResult::Bad)
            return reading.error;
        if (result == RecordResult::Incomplete) {
            replay.cutShort = true;
            replay.frameCount = lastFrame + 1;
            break;
        }
        if (result == RecordResult::End) {
            if (!reader.AtEnd())
                return "data after the end of the run";
            replay.frameCount = reading.frame;
            break;
        }
        lastFrame = reading.frame;
    }
    replay.bytes = std::move(bytes);
    return {};
}

std::string LoadReplay(const std::string& path, Replay& replay)
{
    const std::string name = path + ": ";
    // Without waiting, so that a pipe given as the replay is refused, not
    // waited on for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return name + std::strerror(errno);
    struct stat status {};
    std::string error;
    std::vector<uint8_t> bytes;
    if (fstat(descriptor, &status) != 0) {
        error = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        error = "not a regular file";
    } else if (status.st_size > ReplayMaxFileSize) {
        error = "larger than a replay can be (64 MiB)";
    } else {
        bytes.resize(static_cast<size_t>(status.st_size));
        if (pread(descriptor, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            error = "cannot be read whole";
    }
    close(descriptor);
    if (error.empty())
        error = ParseReplay(std::move(bytes), replay);
    return error.empty() ? error : name + error;
}

// ---- Playing ---------------------------------------------------------------------

ReplayCursor::ReplayCursor(const Replay& replay) : replay_(&replay), offset_(replay.firstRecord)
{
    DecodeRecord();
}

void ReplayCursor::DecodeRecord()
{
    ByteReader reader(replay_->bytes, offset_);
    RecordReading reading;
    if (ReadRecord(reader, recordFrame_, reading) != RecordResult::Frame) {
        recordFrame_ = -1;
        return;
    }
    offset_ = reader.Offset();
    recordFrame_ = reading.frame;
    recorded_.keys = std::move(reading.input.keys);
    if (reading.hasJoystick)
        recorded_.joystick = reading.input.joystick;
    else
        recorded_.joystick = joystick_;
}

bool ReplayCursor::Next(ReplayFrame& frame)
{
    if (frame_ >= replay_->frameCount)
        return false;
    frame.keys.clear();
    if (frame_ == recordFrame_) {
        frame.keys = recorded_.keys;
        joystick_ = recorded_.joystick;
        DecodeRecord();
    }
    frame.joystick = joystick_;
    ++frame_;
    return true;
}

// ---- Recording -------------------------------------------------------------------

ReplayWriter::ReplayWriter(std::FILE* file) : file_(file) {}

bool ReplayWriter::Put(const std::vector<uint8_t>& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool ReplayWriter::WriteHeader(const ReplayHeader& header)
{
    const std::string_view version = std::string_view(header.gameVersion).substr(0, 255);
    std::vector<uint8_t> bytes;
    for (const char c : Magic)
        bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(ReplayFormatVersion);
    bytes.push_back(static_cast<uint8_t>(version.size()));
    for (const char c : version)
        bytes.push_back(static_cast<uint8_t>(c));
    PutInt32(bytes, header.seed);
    bytes.push_back(static_cast<uint8_t>(header.useKeys != 0));
    // The reader refuses a negative hi score, and so no game plays with one.
    PutInt32(bytes, std::max(header.hiScore, 0));
    return Put(bytes) && std::fflush(file_) == 0;
}

bool ReplayWriter::WriteRecord(int32_t frame, std::span<const QV_KeyEvent> keys, const JoystickReading* joystick)
{
    std::vector<uint8_t> bytes{FrameRecord};
    PutVarint(bytes, static_cast<uint64_t>(frame - lastRecordFrame_));
    PutVarint(bytes, keys.size() * 2 + (joystick != nullptr ? 1 : 0));
    for (const QV_KeyEvent& key : keys)
        PutVarint(bytes, static_cast<uint64_t>(key.symbol) * 2 + (key.down != 0 ? 1 : 0));
    if (joystick != nullptr)
        bytes.push_back(JoystickByte(*joystick));
    lastRecordFrame_ = frame;
    return Put(bytes);
}

bool ReplayWriter::WriteFrame(int32_t frame, std::span<const QV_KeyEvent> keys, const JoystickReading& joystick)
{
    bool written = true;
    const bool joystickChanged = !(joystick == joystick_);
    // A record every FlushFrames frames, input or not, so that a replay cut
    // short by a kill still plays up to its last flush.
    const bool flushDue = frame - lastFlushFrame_ >= FlushFrames;
    if (!keys.empty() || joystickChanged || flushDue)
        written = WriteRecord(frame, keys, joystickChanged ? &joystick : nullptr);
    joystick_ = joystick;
    if (flushDue) {
        lastFlushFrame_ = frame;
        written = std::fflush(file_) == 0 && written;
        holdsFrames_ = holdsFrames_ || written;
    }
    return written;
}

bool ReplayWriter::Finish(int32_t frameCount)
{
    std::vector<uint8_t> bytes{EndRecord};
    PutVarint(bytes, static_cast<uint64_t>(frameCount));
    const bool written = Put(bytes) && std::fflush(file_) == 0;
    holdsFrames_ = holdsFrames_ || written;
    return written;
}

bool ReplayWriter::HoldsFrames() const
{
    return holdsFrames_;
}
