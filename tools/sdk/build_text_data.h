// Text data files of a game's sources (tables, plain texts) are written in
// UTF-8 like the scripts, but the player reads every text file as code page
// 932. The build converts them, and refuses characters code page 932 cannot
// hold instead of replacing them.
#pragma once

#include <cstddef>
#include <string>

namespace tova::sdk {

// Whether the build treats a host file name as text data (".tsv", ".txt",
// ".csv", ".tab"; ASCII case ignored).
bool IsTextDataFile(const std::string& hostName);

// The file's content as the player reads it. UTF-8 content (with or without
// a byte-order mark) is converted to code page 932; content that is not
// valid UTF-8 is taken to be code page 932 already and kept unchanged.
// Throws ETovaError naming displayName, the line, the column and every
// character that code page 932 cannot hold (all of them, one per line).
// firstLine is the number of the text's first line in the messages.
std::string TextDataForPlayer(const std::string& bytes, const std::string& displayName, size_t firstLine = 1);

}  // namespace tova::sdk
