// What a format hands the exports, one entry at a time: the things that
// today's programs know (a memo, a contact, an appointment, a task, a message,
// a piece of a document, a table's row), with the device's texts as they are
// stored. The writers turn them into vCard, iCalendar, mbox, text or CSV; no
// writer knows a Palm format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dump/ByteSpan.h"
#include "dump/records/DateBookRecord.h"
#include "dump/records/PackedDate.h"
#include "formats/Format.h"

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

// An e-mail message as the device kept it, with the folder it is filed in.
struct MailMessage {
    PackedDate date;  // IsNone(): no date
    uint8_t hour = 0, minute = 0;
    bool read = false, signature = false, confirmRead = false, confirmDelivery = false;
    uint8_t priority = 1;  // 0 high, 1 normal, 2 low
    std::string_view subject, from, to, cc, bcc, replyTo, sentTo, body;
    std::string_view folder;  // the category's label
};

// A picture an entry holds, with its title (the device's text) for the
// file's name.
struct ExportPicture {
    std::string_view title;
    EntryPicture picture;
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
    virtual void Message(const MailMessage& message) {}
    virtual void Picture(const ExportPicture& picture) {}
    // A table, for a format whose records are the rows of one: its column
    // names once, before any row (FormatReader::FeedBeforeEntries), then a
    // record's cells in the columns' order. Texts are the device's as stored
    // (the format's own words are ASCII, the same in every code page).
    virtual void TableHeader(const std::vector<std::string_view>& names) {}
    virtual void TableRow(const std::vector<std::string_view>& cells) {}
    // Something left out or cut short, in one line.
    virtual void Warn(std::string text) {}
};

}  // namespace corvelle
