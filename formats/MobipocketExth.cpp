#include "formats/MobipocketExth.h"

#include "dump/TextAppend.h"
#include "standards/CodePage.h"
#include "standards/JsonString.h"
#include "formats/FieldLines.h"

namespace corvelle {
namespace {

enum class ExthValue { kText, kNumber, kImage, kBytes };

struct ExthType {
    uint32_t type;
    const char* label;
    const char* name;  // in the JSON
    ExthValue value;
};

// The types that readers of Mobipocket books know.
const ExthType kExthTypes[] = {
    {100, "Author", "author", ExthValue::kText},
    {101, "Publisher", "publisher", ExthValue::kText},
    {102, "Imprint", "imprint", ExthValue::kText},
    {103, "Description", "description", ExthValue::kText},
    {104, "ISBN", "isbn", ExthValue::kText},
    {105, "Subject", "subject", ExthValue::kText},
    {106, "Published", "published", ExthValue::kText},
    {107, "Review", "review", ExthValue::kText},
    {108, "Contributor", "contributor", ExthValue::kText},
    {109, "Rights", "rights", ExthValue::kText},
    {110, "Subject code", "subjectCode", ExthValue::kText},
    {111, "Type", "type", ExthValue::kText},
    {112, "Source", "source", ExthValue::kText},
    {113, "ASIN", "asin", ExthValue::kText},
    {114, "Version", "version", ExthValue::kText},
    {115, "Sample", "sample", ExthValue::kNumber},
    {116, "Start reading", "startReading", ExthValue::kNumber},
    {117, "Adult", "adult", ExthValue::kText},
    {118, "Retail price", "retailPrice", ExthValue::kText},
    {119, "Retail price currency", "retailPriceCurrency", ExthValue::kText},
    {121, "KF8 boundary", "kf8Boundary", ExthValue::kNumber},
    {125, "Resource count", "resourceCount", ExthValue::kNumber},
    {129, "KF8 cover", "kf8Cover", ExthValue::kText},
    {131, "RESC offset", "rescOffset", ExthValue::kNumber},
    {201, "Cover", "cover", ExthValue::kImage},
    {202, "Thumbnail", "thumbnail", ExthValue::kImage},
    {203, "Has fake cover", "fakeCover", ExthValue::kNumber},
    {204, "Creator software", "creatorSoftware", ExthValue::kNumber},
    {205, "Creator major version", "creatorMajor", ExthValue::kNumber},
    {206, "Creator minor version", "creatorMinor", ExthValue::kNumber},
    {207, "Creator build", "creatorBuild", ExthValue::kNumber},
    {208, "Watermark", "watermark", ExthValue::kBytes},
    {209, "Tamper-proof keys", "tamperProofKeys", ExthValue::kBytes},
    {300, "Font signature", "fontSignature", ExthValue::kBytes},
    {401, "Clipping limit", "clippingLimit", ExthValue::kNumber},
    {402, "Publisher limit", "publisherLimit", ExthValue::kNumber},
    {404, "Text to speech disabled", "textToSpeechDisabled", ExthValue::kNumber},
    {405, "Rental", "rental", ExthValue::kNumber},
    {501, "Document type", "documentType", ExthValue::kText},
    {502, "Last update", "lastUpdate", ExthValue::kText},
    {503, "Updated title", "updatedTitle", ExthValue::kText},
    {504, "ASIN", "asin504", ExthValue::kText},
    {524, "Language", "language", ExthValue::kText},
    {525, "Writing mode", "writingMode", ExthValue::kText},
    {527, "Page progression", "pageProgression", ExthValue::kText},
    {528, "Override Kindle fonts", "overrideKindleFonts", ExthValue::kText},
    {535, "Creator build tag", "creatorBuildTag", ExthValue::kText},
};

const ExthType* FindType(uint32_t type) {
    for (const ExthType& known : kExthTypes)
        if (known.type == type) return &known;
    return nullptr;
}

// A number is 1 to 4 bytes, most significant first.
bool ReadNumber(const ByteSpan& data, uint32_t& value) {
    if (data.size == 0 || data.size > 4) return false;
    value = 0;
    for (uint64_t i = 0; i < data.size; ++i) value = (value << 8) | data.data[i];
    return true;
}

// An unknown type's data is shown as text when it has no control bytes.
bool LooksLikeText(const ByteSpan& data) {
    for (uint64_t i = 0; i < data.size; ++i)
        if (data.data[i] < 0x20 || data.data[i] == 0x7F) return false;
    return data.size > 0;
}

ExthValue ValueOf(const ExthType* known, const ExthRecord& record, uint32_t& number) {
    const ExthValue value = known != nullptr             ? known->value
                            : LooksLikeText(record.data) ? ExthValue::kText
                                                         : ExthValue::kBytes;
    if ((value == ExthValue::kNumber || value == ExthValue::kImage) && !ReadNumber(record.data, number))
        return ExthValue::kBytes;
    return value;
}

void AppendHex(std::string& out, const ByteSpan& data) {
    static const char kDigits[] = "0123456789abcdef";
    for (uint64_t i = 0; i < data.size; ++i) {
        if (i > 0) out += ' ';
        out += kDigits[data.data[i] >> 4];
        out += kDigits[data.data[i] & 15];
    }
}

}  // namespace

void AppendExthFields(const MobiHeader& header, std::string& out) {
    for (const ExthRecord& record : header.exth) {
        const ExthType* known = FindType(record.type);
        const std::string label = known != nullptr ? known->label : "EXTH " + std::to_string(record.type);
        uint32_t number = 0;
        std::string value;
        switch (ValueOf(known, record, number)) {
            case ExthValue::kText: value = std::string(record.data.Chars()); break;
            case ExthValue::kNumber: AppendDecimal(value, number); break;
            case ExthValue::kImage:
                if (header.firstImage == kMobiNoRecord) {
                    value = "image " + std::to_string(number + 1) + " (the book names no first image record)";
                } else {
                    value = "record ";
                    AppendDecimal(value, uint64_t{header.firstImage} + number);
                }
                break;
            case ExthValue::kBytes: AppendHex(value, record.data); break;
        }
        AppendField(out, label, value);
    }
}

void WriteExthJson(const MobiHeader& header, TextDecoder& bookText, JsonOut& json) {
    json.Key("exth");
    json.OpenArray();
    for (const ExthRecord& record : header.exth) {
        const ExthType* known = FindType(record.type);
        json.OpenObject();
        NumberMember(json, "type", record.type);
        if (known != nullptr) {
            json.Key("name");
            json.String(known->name);
        }
        uint32_t number = 0;
        switch (ValueOf(known, record, number)) {
            case ExthValue::kText:
                json.Key("text");
                json.String(bookText.ToUtf8(record.data.Chars()));
                break;
            case ExthValue::kNumber: NumberMember(json, "number", number); break;
            case ExthValue::kImage:
                NumberMember(json, "number", number);
                if (header.firstImage != kMobiNoRecord)
                    NumberMember(json, "record", uint64_t{header.firstImage} + number);
                break;
            case ExthValue::kBytes:
                json.Key("hex");
                json.Hex(record.data.data, record.data.size);
                break;
        }
        json.CloseObject();
    }
    json.CloseArray();
}

}  // namespace corvelle
