#pragma once

#include <string>
#include <string_view>

namespace sweepdraw {

// Text from outside the program, a file's name or a piece of a routine's
// code, made safe to quote in a message: what it holds stays readable, but
// nothing in it can split the message's line, cut it short or act on a
// terminal or on the text's direction. Control characters (NUL, C0, DEL and
// C1), the line and paragraph separators and the marks that change the
// direction of text are written as escapes: "\n", "\t", "\x1b" for a byte,
// "\u202e" for a character beyond ASCII; so is each byte that is not part
// of valid UTF-8 ("\xff"). Everything else, backslashes included, is kept
// as it is, so that escaping twice changes nothing more.
std::string escapeForMessage(std::string_view utf8);

} // namespace sweepdraw
