// Memory blocks, the string model, number/text conversion and typed reads
// and writes at an address (peek and poke): the bottom of the runtime,
// shared by the game's code and every layer that takes or returns text.
//
// The string model
// ----------------
// A string variable is a `char*` to a heap block holding NUL-terminated
// 8-bit text, or nullptr for the empty string. Every operation that reads a
// string accepts nullptr as the empty string.
//
// String expressions are built in one temporary area, reserved at start-up
// with QV_InitStrings. QV_StringBase is the write position in it:
//  - an operation that produces text writes at the base (or first moves the
//    base to its explicit destination) and leaves the base on the result's
//    NUL, so two producing operations in a row join their results;
//  - to keep a finished result while building another, the caller steps
//    the base one byte past the result's NUL and restores its saved base
//    when the whole expression is done;
//  - SYS_AllocateString ends an expression that is stored into a variable.
// A producing operation may read from text lying at or after its
// destination (QV_Right of a string built at the same position works).
//
// Bounds: text is only ever written inside the reserved area. A result that
// would run past the area's end is cut short so that its NUL lands on the
// area's last byte, and a write asked for at a position outside the area
// (including every write before QV_InitStrings) writes nothing. One spare
// NUL byte follows the area, so text read at its very end reads as empty, and
// stepping the base forward stops on that spare NUL: a caller stepping past
// results in a full area goes on reading empty text inside the block.
// Callers keep their saved bases: the area never moves while it is reserved.
#pragma once

#include <cstdint>

// ---- Memory blocks --------------------------------------------------------
// Sizes are in bytes; a negative size fails. Every failure returns nullptr
// and leaves the caller's block untouched.

// A zero-filled block of `size` bytes.
void* SYS_AllocateMemory(int32_t size);
// Resizes `block`; the bytes from `oldSize` up to `newSize` - 1 come back
// zero-filled. A new size of 0 keeps a minimal block rather than freeing it.
void* SYS_ReAllocateMemory(void* block, int32_t oldSize, int32_t newSize);
// Frees a block from the two calls above; nullptr is ignored.
void SYS_FreeMemory(void* block);

// Size-prefixed blocks remember their byte count in the 4 bytes before the
// address handed out, so a resize needs only the new size.
void* SYS_AllocateMemoryWithSize(int32_t size);
// Returns nullptr at once for a nullptr `memory` (it does not allocate).
void* SYS_ReAllocateMemoryWithSize(void* memory, int32_t newSize);
void SYS_FreeMemoryWithSize(void* memory);

// ---- The temporary string area --------------------------------------------

// A write position in the temporary area, used as a char*. A step (++, +=)
// moves it only within the area, its spare NUL included, and never beyond;
// a position outside the area, nullptr included, stays where it is.
class QV_StringPosition {
public:
    QV_StringPosition& operator=(char* position)
    {
        position_ = position;
        return *this;
    }
    operator char*() const { return position_; }
    QV_StringPosition& operator+=(int32_t steps);
    QV_StringPosition& operator++() { return *this += 1; }

private:
    char* position_ = nullptr;
};

// Write position in the temporary area; nullptr until QV_InitStrings.
extern QV_StringPosition QV_StringBase;

// The area's size the game reserves at start-up.
inline constexpr int32_t QV_StringAreaSize = 5000;

// Reserves a zero-filled area of `size` bytes (releasing any earlier one) and
// puts QV_StringBase at its start. Returns 1, or 0 when it cannot allocate or
// `size` is not positive (the base is then nullptr and no text is written).
int32_t QV_InitStrings(int32_t size);
// Releases the area; QV_StringBase becomes nullptr.
void QV_FreeStrings();

// Appends at most `length` bytes of `text` at the base (fewer when a NUL
// comes first), cut short at the area's end, then a NUL; leaves the base on
// the NUL. Returns where the text starts. The one bounded write every
// producing operation, in this layer and above it, goes through.
char* QV_AppendText(const char* text, int32_t length);

// ---- String variables -----------------------------------------------------

// Ends an expression started at `start`: replaces the variable's text by a
// new heap block holding the text from `start` (never more than up to the
// current base) and puts the base back at `start`. Returns the new block, or
// nullptr (and an empty variable) when it cannot allocate.
char* SYS_AllocateString(char** variable, char* start);
// Appends `source` at the base (nullptr appends nothing). Returns its start.
char* SYS_CopyString(const char* source);
// Copies `source` straight into a new heap block for the variable, without
// and with freeing the variable's old block first. A nullptr or empty
// source, or a failed allocation, leaves the variable nullptr.
void SYS_FastAllocateString(char** variable, const char* source);
void SYS_FastAllocateStringFree(char** variable, const char* source);
void SYS_FreeString(char* block);

// Byte-wise comparisons (unsigned bytes); each returns 1 or 0.
int32_t SYS_StringEqual(const char* left, const char* right);
int32_t SYS_StringInf(const char* left, const char* right);
int32_t SYS_StringSup(const char* left, const char* right);

// Copies a file name into `destination` (`destinationSize` bytes, cut short
// to fit), turning every '\' into '/'; a nullptr source gives "".
void SYS_ConvertFilename(const char* source, char* destination, int32_t destinationSize);

// ---- Numbers and text -----------------------------------------------------
// Operations producing text append at the base and return where it starts.

// Decimal form: "0", a leading '-' for negatives, no leading zeros.
char* QV_Str(int32_t value);
// Upper-case hexadecimal of the value's 32 bits, no leading zeros ("0" for 0).
char* QV_Hex(int32_t value);
// The value's 32 bits, always 32 digits.
char* QV_Bin(int32_t value);
// One character (code 0 gives the empty text).
char* QV_Chr(int32_t code);
// `count` spaces; none for a count of 0 or less.
char* QV_Space(int32_t count);

// strtol in base 10: leading white space, optional sign, digits up to the
// first other character; 0 when there are none; clamped to 32 bits.
int32_t QV_Val(const char* text);
// Bytes before the NUL.
int32_t QV_Len(const char* text);
// First byte as 0 to 255; 0 for the empty text.
int32_t QV_Asc(const char* text);
// 1-based position of the first `search` at or after position `start`
// (1 or less: from the first character); 0 when absent or either is empty.
int32_t QV_FindString(const char* text, const char* search, int32_t start);
// Writes the decimal form of `value` into `buffer`, which must hold 12
// bytes; any base other than 10 leaves the buffer untouched. Returns buffer.
char* QV_Itoa(int32_t value, char* buffer, int32_t base);

// Text functions with an explicit destination: each first sets the base to
// `destination`, normally the current base or the expression's start.

// At most `length` characters from 1-based position `start` (1 or less:
// the first). A negative length takes the rest; a start past the end or a
// length of 0 gives the empty text.
char* QV_Mid(const char* text, int32_t start, int32_t length, char* destination);
// The first / last `count` characters (all when the text is shorter; none
// for a count of 0 or less).
char* QV_Left(const char* text, int32_t count, char* destination);
char* QV_Right(const char* text, int32_t count, char* destination);
// ASCII letters only; other bytes are copied as they are.
char* QV_LCase(const char* text, char* destination);
char* QV_UCase(const char* text, char* destination);
// Strip spaces and tabs at the left, the right, or both ends.
char* QV_LTrim(const char* text, char* destination);
char* QV_RTrim(const char* text, char* destination);
char* QV_Trim(const char* text, char* destination);

// ---- Peek and poke --------------------------------------------------------
// Raw reads and writes at any address, aligned or not; keeping them inside
// the caller's own memory is the caller's duty.

int32_t QV_PeekB(const void* address);  // signed byte
int32_t QV_PeekW(const void* address);  // signed 16-bit word
int32_t QV_PeekL(const void* address);  // 32-bit word
float QV_PeekF(const void* address);    // 32-bit float
char* QV_PeekS(const void* address);    // appends the text there at the base

void QV_PokeB(void* address, int32_t value);
void QV_PokeW(void* address, int32_t value);
void QV_PokeL(void* address, int32_t value);
void QV_PokeF(void* address, float value);
void QV_PokeS(void* address, const char* text);  // the text and its NUL
