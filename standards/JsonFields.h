// The members of an entry's JSON "fields" object as a format writes them:
// the JSON writer with the device's code page, so that every text member is
// UTF-8, and the members every format shares (dates, times, the cut).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dump/records/PackedDate.h"
#include "dump/records/RecordCut.h"
#include "standards/CodePage.h"
#include "standards/JsonString.h"

namespace corvelle {

class JsonFields {
public:
    JsonFields(JsonOut& json, TextDecoder& decoder) : m_json(json), m_decoder(decoder) {}

    JsonOut& Json() { return m_json; }
    std::string Utf8(std::string_view deviceText) { return m_decoder.ToUtf8(deviceText); }
    // The device's code page, for a text that needs more than one conversion.
    TextDecoder& Decoder() { return m_decoder; }

    // A text of the device, converted.
    void Text(const char* key, std::string_view deviceText);
    void Number(const char* key, uint64_t value) { NumberMember(m_json, key, value); }
    void Bool(const char* key, bool value);
    void Null(const char* key);
    // One of our own words, or null where there is none (a code beyond them).
    void WordOrNull(const char* key, const char* word);
    // YYYY-MM-DD, or null for a date that is not set.
    void Date(const char* key, PackedDate date);
    // HH:MM, or null for FFh FFh.
    void Time(const char* key, uint8_t hour, uint8_t minute);
    // "cut": {"at", "inside"} when the record is cut; nothing otherwise.
    void Cut(const RecordCut& cut);

private:
    JsonOut& m_json;
    TextDecoder& m_decoder;
};

}  // namespace corvelle
