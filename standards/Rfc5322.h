// Internet messages as RFC 5322 writes them, with RFC 2047's encoded words
// for header text that is not ASCII: header fields, address lists, dates and
// bodies. Lines end in CR LF.
#pragma once

#include <string>
#include <string_view>

#include "standards/CivilDate.h"

namespace corvelle {

// "Name: value", folded at its spaces into lines of at most 78 octets where it
// has them, and ended by CR LF. A CR, LF or other control character inside,
// which would end the field or begin another, becomes a space.
void AppendHeaderField(std::string_view name, std::string_view value, std::string& out);

// An unstructured value (Subject): printable ASCII as it is; any other text as
// encoded words "=?UTF-8?B?...?=" of at most 75 octets each, apart by spaces,
// none splitting a character.
std::string UnstructuredValue(std::string_view utf8);

// An address list (From, To, Cc): the addresses apart by commas outside quotes
// and angle brackets, each as it is where it is ASCII, else its display name
// before "<" as encoded words and the address itself as it is.
std::string AddressListValue(std::string_view utf8);

// The address of the first mailbox of an address list, for an mbox's From
// line: the one in angle brackets, else the first word holding "@"; empty
// when there is none.
std::string FirstAddress(std::string_view text);

// "Sat, 17 May 2003 13:45:00 -0000": a time of day in no known time zone,
// which "-0000" says (RFC 5322, section 3.3).
std::string DateValue(const CivilTime& time);
// The mbox From line's "Sat May 17 13:45:00 2003".
std::string MboxDate(const CivilTime& time);

// Whether a body goes as it is (8bit): no line longer than RFC 5322's 998
// octets. One that has must be quoted-printable.
bool FitsEightBit(std::string_view utf8);

// The body with every line end (CR LF, a lone CR or LF) as CR LF and a CR LF
// after its last line; in an mboxrd every line that begins with ">"s and
// "From " gets one ">" more, so that no line can be taken for the next
// message's start and the quoting can be undone.
void AppendMboxBody(std::string_view utf8, std::string& out);
// The same body quoted-printable (RFC 2045), its lines kept apart by CR LF.
void AppendQuotedPrintableBody(std::string_view utf8, std::string& out);

}  // namespace corvelle
