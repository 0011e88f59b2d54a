#include "cli/cli_common.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "phasors/phasorfile.h"
#include "platform/cp1252.h"

namespace zeigora::cli {

void Out(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Err(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::string NumberText(double x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, res.ptr);
}

std::string IntText(long long x) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, res.ptr);
}

std::string ToUtf8(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

namespace {

// The escape both field kinds share for backslash, tab, CR and LF; null for other characters.
const char* CommonEscape(char c) {
    switch (c) {
        case '\\':
            return "\\\\";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        default:
            return nullptr;
    }
}

}  // namespace

std::string TsvField(std::string_view utf8) {
    std::string s;
    s.reserve(utf8.size());
    for (char c : utf8) {
        if (const char* escape = CommonEscape(c))
            s += escape;
        else
            s += c;
    }
    return s;
}

std::string JsonString(std::string_view utf8) {
    static const char hex[] = "0123456789abcdef";
    std::string s = "\"";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (const char* escape = CommonEscape(c)) {
            s += escape;
        } else if (c == '"') {
            s += "\\\"";
        } else if (u < 0x20 || u == 0x7F) {
            s += "\\u00";
            s += hex[u >> 4];
            s += hex[u & 0xF];
        } else {
            s += c;
        }
    }
    return s + "\"";
}

std::string JsonNumber(double x) {
    if (!std::isfinite(x)) return "\"" + NumberText(x) + "\"";
    return NumberText(x);
}

bool IsHelpOption(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

int UsageError(std::string_view command, std::string_view problem, std::string_view usage) {
    Err("zeigora-cli");
    if (!command.empty()) {
        Err(" ");
        Err(command);
    }
    Err(": ");
    Err(problem);
    Err("\n");
    Err(usage);
    return ExitUsage;
}

bool LoadPhasorsOrReport(TPhasorArray& list, const std::string& fileName) {
    const TPhasorFileResult r = LoadPhasorsFromFile(list, fileName);
    if (r.Ok()) return true;
    Err(ToUtf8(r.Message));
    Err("\n");
    return false;
}

}  // namespace zeigora::cli
