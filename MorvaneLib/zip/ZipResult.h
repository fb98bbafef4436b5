// The result codes of the zip archive writer, one table for every operation.
#pragma once

#include <cstdint>

enum ZipResult : std::uint32_t {
    ZipOk = 0,
    // The archive file cannot be created, or a source cannot be opened or read.
    ZipNoFile = 0x200,
    // A header, an entry's data, a data descriptor or the end record was not written whole;
    // a compressor or random source that fails counts as such.
    ZipWriteError = 0x400,
    // No writer handle, an empty entry name or one longer than an archive name may be.
    ZipBadArguments = 0x10000,
    // An in-memory output is full; this writer writes to files only and never gives it.
    ZipMemoryFull = 0x30000,
    // An add after the output could no longer be positioned.
    ZipPreviousError = 0x40000,
    // An operation on a writer that has been closed.
    ZipEnded = 0x50000,
    // The handle is not one that Create gave.
    ZipWrongHandle = 0x80000,
    // A write or seek with no output open; an open writer always has its output.
    ZipNotInitialised = 0x1000000,
    // The output cannot be positioned to rewrite a local header or to return to its end.
    ZipSeekFailed = 0x2000000,
    // A stored encrypted entry's size differs from the one its first header announced.
    ZipCannotCorrect = 0x4000000,
    // The entry would not fit the classic container: a source of 4 GiB or more, an archive
    // growing past 4 GiB, or more than 65534 entries. The entry is left out.
    ZipTooLarge = 0x8000000,
};
