#include "fciv/core/xml_writer.h"

#include "common/database_format.h"
#include "common/utf8.h"

namespace fciv {

namespace {

constexpr char32_t Replacement = 0xFFFD;

}  // namespace

std::string XmlText(const std::wstring& text, bool& replaced) {
    std::string out;
    out.reserve(text.size());
    replaced = false;
    for (size_t i = 0; i < text.size();) {
        const char32_t c = common::NextCodePoint(text, i);
        switch (c) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '\t': out += "&#9;"; continue;
        case '\n': out += "&#10;"; continue;
        case '\r': out += "&#13;"; continue;
        }
        if (c < 0x20 || common::IsSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            replaced = true;
            common::AppendUtf8(out, Replacement);
        } else {
            common::AppendUtf8(out, c);
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

namespace {
namespace db = common::database;
std::string Open(const db::Element& e) { return common::ToUtf8(e.open); }
std::string Close(const db::Element& e) { return common::ToUtf8(e.close); }
}  // namespace

std::string DatabaseHeader() { return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n" + Open(db::Root) + "\r\n"; }

std::string DatabaseFooter() { return Close(db::Root) + "\r\n"; }

std::string DatabaseEntry(const std::wstring& name, const common::HexHashes& hashes, bool& replaced) {
    std::string e = Open(db::Entry) + Open(db::Name) + XmlText(name, replaced) + Close(db::Name);
    for (int a = 0; a < common::RecordedCount; ++a)
        if (!hashes[a].empty()) e += Open(db::Hashes[a]) + hashes[a] + Close(db::Hashes[a]);
    return e + Close(db::Entry) + "\r\n";
}

std::string DatabaseInterrupted() { return Open(db::Interrupted) + Close(db::Interrupted) + "\r\n"; }

std::string DatabaseError(const std::wstring& name, unsigned long error) {
    bool replaced;
    return Open(db::Unread) + Open(db::Name) + XmlText(name, replaced) + Close(db::Name) + Open(db::Error) +
           std::to_string(error) + Close(db::Error) + Close(db::Unread) + "\r\n";
}

}  // namespace fciv
