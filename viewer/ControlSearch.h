// The host's find command over a text that a rich-edit control shows: from
// the control's selection, and, when found, the match selected and scrolled
// into view. Rich edit 1.0 counts CR LF as two characters, as the texts have
// them, so positions in the text are the control's positions.
#pragma once

#include <optional>
#include <string>

#include "model/SearchRules.h"
#include "viewer/RichEditControl.h"

// Where `needle` is in `text` after (or before) the control's selection.
std::optional<corvelle::TextRange> FindFromSelection(const CRichEditControl& control, const std::string& text,
                                                     const std::string& needle, int flags);
std::optional<corvelle::TextRange> FindFromSelection(const CRichEditControl& control, const std::u16string& text,
                                                     const std::u16string& needle, int flags);
void SelectAndShow(CRichEditControl& control, const corvelle::TextRange& range);
// The control's own text in the ANSI code page (the About page's).
std::string ControlText(const CRichEditControl& control);
