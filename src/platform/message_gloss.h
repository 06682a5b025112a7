// The player's messages keep the system's Japanese texts, which game authors
// know; on standard error a user whose locale is not Japanese also gets a
// short English gloss after them. The glosses are one table, keyed by the
// Japanese text, in message_gloss.cpp.
#pragma once

#include <string>
#include <string_view>

namespace tova {

// Whether the user's locale is Japanese: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty starts with "ja". No locale at all is not
// Japanese.
bool LocaleIsJapanese();

// The English gloss of a message (UTF-8) that starts with a known Japanese
// text, or empty. A text with something after it ("...: start.tsb") is
// glossed by the longest known text it starts with.
std::string_view EnglishGloss(std::string_view utf8Message);

// The line for standard error: the message, then " (GLOSS)" when the locale
// is not Japanese and the message has a gloss.
std::string WithGloss(std::string_view utf8Message);

}  // namespace tova
