#include "xml_writer.h"

namespace fciv {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// The next code point of UTF-16 text; a lone surrogate comes back as itself.
char32_t Next(const std::wstring& text, size_t& i) {
    char32_t c = static_cast<char32_t>(text[i++]) & 0xFFFF;
    if (c >= 0xD800 && c <= 0xDBFF && i < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return c;
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t c = Next(text, i);
        AppendUtf8(out, IsSurrogate(c) ? Replacement : c);
    }
    return out;
}

std::string XmlText(const std::wstring& text, bool& replaced) {
    std::string out;
    out.reserve(text.size());
    replaced = false;
    for (size_t i = 0; i < text.size();) {
        const char32_t c = Next(text, i);
        switch (c) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '\t': out += "&#9;"; continue;
        case '\n': out += "&#10;"; continue;
        case '\r': out += "&#13;"; continue;
        }
        if (c < 0x20 || IsSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            replaced = true;
            AppendUtf8(out, Replacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string ToHex(const unsigned char* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out(size * 2, '0');
    for (size_t i = 0; i < size; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 15];
    }
    return out;
}

std::string DatabaseHeader() { return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<FCIV>\r\n"; }

std::string DatabaseFooter() { return "</FCIV>\r\n"; }

std::string DatabaseEntry(const std::wstring& name, const std::string& md5Hex, const std::string& sha1Hex,
                          bool& replaced) {
    std::string e = "<FILE_ENTRY><name>" + XmlText(name, replaced) + "</name>";
    if (!md5Hex.empty()) e += "<MD5>" + md5Hex + "</MD5>";
    if (!sha1Hex.empty()) e += "<SHA1>" + sha1Hex + "</SHA1>";
    return e + "</FILE_ENTRY>\r\n";
}

std::string DatabaseError(const std::wstring& name, unsigned long error) {
    bool replaced;
    return "<FILE_ERROR><name>" + XmlText(name, replaced) + "</name><error>" + std::to_string(error) +
           "</error></FILE_ERROR>\r\n";
}

}  // namespace fciv
