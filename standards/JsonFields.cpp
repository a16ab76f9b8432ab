#include "standards/JsonFields.h"

#include <cstdio>

namespace corvelle {

void JsonFields::Text(const char* key, std::string_view deviceText) {
    m_json.Key(key);
    m_json.String(Utf8(deviceText));
}

void JsonFields::Bool(const char* key, bool value) {
    m_json.Key(key);
    m_json.Bool(value);
}

void JsonFields::Null(const char* key) {
    m_json.Key(key);
    m_json.Null();
}

void JsonFields::WordOrNull(const char* key, const char* word) {
    m_json.Key(key);
    if (word != nullptr)
        m_json.String(word);
    else
        m_json.Null();
}

void JsonFields::Date(const char* key, PackedDate date) {
    m_json.Key(key);
    if (date.IsNone())
        m_json.Null();
    else
        m_json.String(PackedDateText(date));
}

void JsonFields::Time(const char* key, uint8_t hour, uint8_t minute) {
    m_json.Key(key);
    if (hour == 0xFF && minute == 0xFF) {
        m_json.Null();
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u", unsigned{hour}, unsigned{minute});
    m_json.String(text);
}

void JsonFields::Cut(const RecordCut& cut) {
    if (!cut.cut) return;
    m_json.Key("cut");
    m_json.OpenObject();
    NumberMember(m_json, "at", cut.at);
    m_json.Key("inside");
    m_json.String(cut.inside);
    m_json.CloseObject();
}

}  // namespace corvelle
