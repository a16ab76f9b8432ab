// Every prefix of a database's file through everything that reads one: each line of --records,
// each --record N (with the picture it shows), every export that fits and the whole document.
// The sanitizer build (sanitized-dump-tests) catches any read past the end; here each answer
// keeps its shape, each export is made and each document ends within its bound.
#pragma once

#include <cstdint>
#include <string>

namespace corvelle {

// How much text a document of a file of `fileSize` bytes may give at most: a bomb stops within it.
struct DocumentBound {
    uint64_t perFileByte = 64;  // a book never more than this many times its file
    uint64_t atLeast = 65535;   // nor less than one record's room
};

// Checks each prefix of `bytes` (named `name` in failures), each one alone on the heap so that a
// read past it is caught; stops at the first failure.
void ExpectEveryPrefixSafe(const std::string& name, const std::string& bytes, DocumentBound bound = {});

}  // namespace corvelle
