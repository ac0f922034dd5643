// avionics/facilities/layout.h
// The byte layout of a scenery file's facility sections: every field the
// reader decodes has a name here, the block it belongs to and its type. A
// field that does not lie inside its block fails to compile, and a field
// can be read only from a block of its own kind whose whole length was
// checked against the data, so one length check covers every field read
// from the block. All values are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace layout {

// Plain little-endian reads; p must hold the bytes.
inline uint32_t Le_U16(const uint8_t* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8;
}
inline uint32_t Le_U24(const uint8_t* p) {
    return Le_U16(p) | static_cast<uint32_t>(p[2]) << 16;
}
inline uint32_t Le_U32(const uint8_t* p) {
    return Le_U24(p) | static_cast<uint32_t>(p[3]) << 24;
}

// Field types: the width in the file and the value they read as.
struct U8 {
    enum { WIDTH = 1 };
    static uint32_t Get(const uint8_t* p) { return p[0]; }
};
struct U16 {
    enum { WIDTH = 2 };
    static uint32_t Get(const uint8_t* p) { return Le_U16(p); }
};
struct U32 {
    enum { WIDTH = 4 };
    static uint32_t Get(const uint8_t* p) { return Le_U32(p); }
};
struct I32 {
    enum { WIDTH = 4 };
    static int32_t Get(const uint8_t* p) { return static_cast<int32_t>(Le_U32(p)); }
};
// Raw bytes: identifiers and packed positions, decoded by the reader.
template <int N> struct Bytes {
    enum { WIDTH = N };
    static const uint8_t* Get(const uint8_t* p) { return p; }
};

// A named field at OFFSET in a block of kind BLOCK (a block type below).
template <typename BLOCK, int OFFSET, typename TYPE> struct Field {
    static_assert(OFFSET >= 0 && OFFSET + TYPE::WIDTH <= BLOCK::SIZE,
                  "a field must lie inside the block whose length is checked before it is read");
};

// The bytes of a block of kind BLOCK, BLOCK::SIZE of them known to be in the data.
template <typename BLOCK> struct Checked { const uint8_t* bytes; };

template <typename BLOCK, int OFFSET, typename TYPE>
auto Get(Checked<BLOCK> block, Field<BLOCK, OFFSET, TYPE>) {
    return TYPE::Get(block.bytes + OFFSET);
}

// ---- The blocks and their fields ---------------------------------------------------------

// The file header: where the three sections start (offsets from the file's start).
struct Header {
    enum { SIZE = 168 };
};
constexpr Field<Header, 18, U32> HEADER_VOR_SECTION{};
constexpr Field<Header, 22, U16> HEADER_FIRST_CHANNEL{}; // signed 16-bit
constexpr Field<Header, 24, U16> HEADER_LAST_CHANNEL{};  // signed 16-bit, inclusive
constexpr Field<Header, 78, U32> HEADER_NDB_SECTION{};
constexpr Field<Header, 164, U32> HEADER_AIRPORT_SECTION{};

// The VOR section opens with a channel index of 5-byte entries, channel c's at 5c.
struct ChannelEntry {
    enum { SIZE = 5 };
};
constexpr Field<ChannelEntry, 0, U8> CHANNEL_MARK{}; // the first entry's must be 1
constexpr Field<ChannelEntry, 1, U32> CHANNEL_FIRST_GROUP{};

// Group records form chains, each pointing at a run of entries.
struct Group {
    enum { SIZE = 9, MARK = 21 };
};
constexpr Field<Group, 0, U8> GROUP_MARK{};
constexpr Field<Group, 5, U32> GROUP_RUN{};

// A run of entries: navaids and skipped entries, ended by any other kind.
struct EntryKind {
    enum { SIZE = 1, NAVAID = 4, SKIPPED = 20 };
};
constexpr Field<EntryKind, 0, U8> ENTRY_KIND{};
struct SkippedEntry {
    enum { SIZE = 17 };
};

struct VorEntry {
    enum { SIZE = 44 };
};
constexpr Field<VorEntry, 4, U8> VOR_CODE{}; // signed
constexpr Field<VorEntry, 5, Bytes<8>> VOR_POSITION{};
constexpr Field<VorEntry, 15, Bytes<5>> VOR_IDENT{};

struct NdbEntry {
    enum { SIZE = 42 };
};
constexpr Field<NdbEntry, 4, Bytes<8>> NDB_POSITION{};
constexpr Field<NdbEntry, 13, Bytes<5>> NDB_IDENT{};

// The airport section: records of any kind, each with its length; a zero
// mark ends the section.
struct SectionMark {
    enum { SIZE = 2 };
};
constexpr Field<SectionMark, 0, U16> RECORD_MARK{};
struct RecordHead {
    enum { SIZE = 12, UNCOUNTED = 8, AIRPORT = 1 };
};
constexpr Field<RecordHead, 4, U32> RECORD_LENGTH{}; // bytes after the UNCOUNTED first
constexpr Field<RecordHead, 8, U32> RECORD_KIND{};

struct Airport {
    enum { SIZE = 64 }; // through the identifier at 60
};
constexpr Field<Airport, 28, I32> AIRPORT_LATITUDE{};
constexpr Field<Airport, 36, I32> AIRPORT_LONGITUDE{};
constexpr Field<Airport, 56, U32> AIRPORT_FIRST_SUB{}; // from the identifier's start
constexpr Field<Airport, 60, Bytes<4>> AIRPORT_IDENT{};
enum { AIRPORT_SUBS_BASE = 60 };

// An airport's sub-records: a kind and a length; a zero kind ends them.
struct SubKind {
    enum { SIZE = 2, RUNWAY = 2, AID = 4 };
};
constexpr Field<SubKind, 0, U16> SUB_KIND{};
struct SubHead {
    enum { SIZE = 8, UNCOUNTED = 8 };
};
constexpr Field<SubHead, 4, U32> SUB_LENGTH{}; // bytes after the UNCOUNTED first

struct Runway {
    enum { SIZE = 56 }; // through the runway number at 52
};
constexpr Field<Runway, 12, I32> RUNWAY_LATITUDE{};
constexpr Field<Runway, 20, I32> RUNWAY_LONGITUDE{};
constexpr Field<Runway, 34, U16> RUNWAY_HEADING{}; // 65535ths of a turn
constexpr Field<Runway, 40, I32> RUNWAY_LENGTH_FT{};
constexpr Field<Runway, 44, I32> RUNWAY_WIDTH_FT{};
constexpr Field<Runway, 48, I32> RUNWAY_SIDE{}; // 1 left, 2 right, 3 centre
constexpr Field<Runway, 52, I32> RUNWAY_NUMBER{};

struct Aid {
    enum { SIZE = 60, LOCALIZER = 4, PRIMARY_END = 2 }; // through the identifier at 56
};
constexpr Field<Aid, 12, I32> AID_LATITUDE{};
constexpr Field<Aid, 20, I32> AID_LONGITUDE{};
constexpr Field<Aid, 34, U16> AID_COURSE{}; // 65535ths of a turn
constexpr Field<Aid, 36, U16> AID_FREQUENCY_FRACTION{};
constexpr Field<Aid, 38, U16> AID_FREQUENCY_INTEGER{};
constexpr Field<Aid, 40, I32> AID_KIND{};
constexpr Field<Aid, 48, I32> AID_END{};
constexpr Field<Aid, 56, Bytes<4>> AID_IDENT{};

// A packed position of a navaid entry.
struct Packed {
    enum { SIZE = 8 };
};
constexpr Field<Packed, 0, Bytes<3>> PACKED_LATITUDE{};  // 23 bits and a fold flag
constexpr Field<Packed, 3, Bytes<3>> PACKED_LONGITUDE{}; // 24 bits of a turn
constexpr Field<Packed, 6, U16> PACKED_ALTITUDE_M{};     // signed 16-bit

} // namespace layout
