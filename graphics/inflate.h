// DEFLATE and zlib decompression into a caller-sized buffer, for the PNG decoder.
// Errors are numbered; the PNG loader writes the number into its log line.
#pragma once
#include <cstddef>
#include <cstdint>

// Inflater error codes.
constexpr int kInflateCodeCut = 10;               // the input ends inside a Huffman code
constexpr int kInflateCodeUnused = 11;            // a bit pattern that no code of the tree uses
constexpr int kInflateRepeatOverflow = 13;        // code 16 past the declared count, or with no previous length
constexpr int kInflateZerosOverflow = 14;         // code 17 past the declared count
constexpr int kInflateLongZerosOverflow = 15;     // code 18 past the declared count
constexpr int kInflateLiteralOverflow = 17;       // a literal past the end of the output
constexpr int kInflateBadDistance = 18;           // distance symbol 30 or 31
constexpr int kInflateCopyOutside = 19;           // a copy past the end of the output or before its start
constexpr int kInflateBadBlockType = 20;          // block type 3
constexpr int kInflateStoredLength = 21;          // LEN and NLEN do not add up to 65535
constexpr int kInflateStoredOverflow = 22;        // a stored block past the end of the output
constexpr int kInflateStoredCut = 23;             // a stored block past the end of the input
constexpr int kInflateHeaderCheck = 24;           // zlib header not a multiple of 31
constexpr int kInflateHeaderMethod = 25;          // zlib method not 8, or window field above 7
constexpr int kInflateHeaderDictionary = 26;      // zlib preset dictionary asked for
constexpr int kInflateDynamicHeaderCut = 49;      // the input ends inside a dynamic block's header
constexpr int kInflateLengthsCut = 50;            // the input ends while code lengths are read
constexpr int kInflateExtraCut = 51;              // the input ends inside extra bits of a length or distance
constexpr int kInflateBlockHeaderCut = 52;        // the input ends before a block header or a stored LEN/NLEN
constexpr int kInflateZlibShort = 53;             // a zlib stream shorter than 2 bytes
constexpr int kInflateBadTree = 55;               // code lengths over-subscribe their code tree

// Raw DEFLATE (RFC 1951) from input into output[0, outputSize). On success the bytes the stream
// does not reach are set to 0; on an error the output's content is undefined. Returns 0 or an
// error code; *written (may be null) gets the bytes produced.
int Inflate(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize, size_t* written);

// zlib stream (RFC 1950): checks the 2-byte header, then inflates the rest. The Adler-32
// checksum at the end is not checked. Returns 0 or an error code.
int ZlibInflate(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize, size_t* written);
