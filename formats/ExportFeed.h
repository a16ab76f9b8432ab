// What a format hands the exports, one entry at a time: the things that
// today's programs know (a memo, a contact, an appointment, a task, a piece of
// a document), with the device's texts as they are stored. The writers turn
// them into vCard, iCalendar or text; no writer knows a Palm format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/PackedDate.h"

namespace corvelle {

struct TimeZoneBlob;
struct MeetingBlob;

// A phone, e-mail or other number under a Palm phone label: 0 Work, 1 Home,
// 2 Fax, 3 Other, 4 E-mail, 5 Main, 6 Pager, 7 Mobile; others are plain.
struct ContactPhone {
    uint8_t labelCode = 0;
    std::string_view value;
    bool shown = false;  // the one the device's list shows
};

// An instant-messaging account: 0 IM, 1 AIM, 2 MSN, 3 Yahoo, 4 ICQ.
struct ContactIm {
    uint8_t labelCode = 0;
    std::string_view value;
};

// A postal address: 0 Work, 1 Home, anything else untyped.
struct ContactAddress {
    uint8_t labelCode = 2;
    std::string_view street, city, state, zipCode, country;
};

struct ContactCustom {
    std::string_view label, value;
};

struct ContactCard {
    std::string_view lastName, firstName, company, title;
    // How the names are read, where the device keeps it (a Japanese Palm's kana).
    std::string_view lastNameReading, firstNameReading, companyReading;
    std::vector<ContactPhone> phones;
    std::vector<ContactIm> ims;
    std::string_view website;
    std::vector<ContactAddress> addresses;
    PackedDate birthday, anniversary;  // IsNone(): not set
    ByteSpan photoJpeg;                // empty: no picture
    std::string_view note;
    std::vector<ContactCustom> custom;  // go into the note, under their labels
};

// An appointment: the Date Book's record, and what later calendars added.
struct CalendarEvent {
    const DateBookRecord* appointment = nullptr;
    std::string_view location;
    const TimeZoneBlob* zone = nullptr;
    const MeetingBlob* meeting = nullptr;
};

// A task of either to-do list.
struct CalendarTask {
    PackedDate due;  // IsNone(): no due date
    uint8_t priority = 0;
    bool completed = false;
    PackedDate completedOn;
    std::string_view description, note;
    const DateBookRepeat* repeat = nullptr;  // with its start and whether it counts from the completion
    PackedDate repeatStart;
    bool repeatAfterCompletion = false;
    bool hasAlarm = false;
    uint8_t alarmHour = 0, alarmMinute = 0;
    uint16_t alarmDaysBefore = 0;
};

class ExportFeed {
public:
    virtual ~ExportFeed() = default;
    virtual void Memo(std::string_view text) {}
    // The next piece of a document's text, in order.
    virtual void Document(std::string_view text) {}
    // The same for a document whose text is HTML: read as HTML once its
    // pieces are joined and converted.
    virtual void HtmlDocument(std::string_view text) {}
    // A document's whole text as a person reads it: UTF-8 with LF line ends,
    // its markup taken off (a format whose text is read through its
    // DocumentReader, and which names its own code page).
    virtual void ReadableText(std::string utf8) {}
    virtual void Contact(const ContactCard& card) {}
    virtual void Event(const CalendarEvent& event) {}
    virtual void Task(const CalendarTask& task) {}
    // Something left out or cut short, in one line.
    virtual void Warn(std::string text) {}
};

}  // namespace corvelle
