#pragma once

#include <string>
#include <string_view>

// Free text as a settings value. The settings file cuts a value at the next "=" and a line at
// CR LF, so a text that may hold them (an engine's command line such as
// `mohex --use-logfile=false`) is stored escaped: "%", "=" and every control character are
// written as "%" and two upper-case hex digits ("=" is "%3D", "%" is "%25"). Reading undoes
// every "%" with two hex digits after it and keeps any other "%" as it is, so a value written
// by hand without escapes reads as written unless it holds such a sequence.
class EscapedText {
public:
    static std::string escaped(std::string_view text);
    static std::string unescaped(std::string_view text);
};
