#include "database_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <memory>

#include "common/database_format.h"
#include "console.h"
#include "platform/handle.h"
#include "sums.h"
#include "walker.h"

namespace fciv {

namespace {

struct ComRelease {
    void operator()(IUnknown* p) const { p->Release(); }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

namespace db = common::database;

bool Is(const wchar_t* name, const db::Element& element) {
    const std::wstring_view tag = element.Name();
    return CompareStringOrdinal(name, -1, tag.data(), static_cast<int>(tag.size()), TRUE) == CSTR_EQUAL;
}

// Hex digits as bytes; anything else becomes a character that is no hex digit.
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace

RecordedDatabase ReadDatabase(const std::wstring& path) {
    RecordedDatabase db;
    std::string bytes;
    if (const unsigned long error = ReadWholeFile(path, bytes)) {
        db.error = L"не прочитать / cannot read " + Reason(error);
        return db;
    }
    if (bytes.empty()) {
        db.error = L"файл пуст / the file is empty";
        return db;
    }
    using Create = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    const HMODULE xmllite = LoadLibraryW(L"xmllite.dll");
    const auto create = xmllite ? reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(xmllite, "CreateXmlReader")))
                                : nullptr;
    IXmlReader* rawReader = nullptr;
    if (!create || FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&rawReader), nullptr))) {
        db.error = L"нет XmlLite / XmlLite is not available";
        return db;
    }
    const ComPtr<IXmlReader> reader(rawReader);
    const ComPtr<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);  // no entity expansion bombs
    reader->SetProperty(XmlReaderProperty_MaxElementDepth, 64);
    reader->SetInput(stream.get());

    int depth = 0;  // elements open
    std::wstring root;
    bool inEntry = false;
    std::wstring* field = nullptr;
    std::wstring name, md5, sha1;
    UINT entryLine = 0;
    XmlNodeType type;
    HRESULT hr;
    UINT line = 0, column = 0, stuck = 0;
    while ((hr = reader->Read(&type)) == S_OK) {
        // Wine's reader can hand back the same node forever at a cut-off end.
        UINT nowLine = 0, nowColumn = 0;
        reader->GetLineNumber(&nowLine);
        reader->GetLinePosition(&nowColumn);
        stuck = nowLine == line && nowColumn == column ? stuck + 1 : 0;
        line = nowLine, column = nowColumn;
        if (stuck > 8) {
            hr = E_UNEXPECTED;
            break;
        }
        const wchar_t* text = nullptr;
        if (type == XmlNodeType_Element) {
            reader->GetLocalName(&text, nullptr);
            const bool empty = reader->IsEmptyElement();
            if (depth == 0 && root.empty()) root = empty ? L"" : text;
            if (depth == 1 && Is(text, db::Entry)) {
                inEntry = true;
                name.clear(), md5.clear(), sha1.clear();
                reader->GetLineNumber(&entryLine);
            } else if (inEntry && depth == 2) {
                field = Is(text, db::Name) ? &name : Is(text, db::Md5) ? &md5 : Is(text, db::Sha1) ? &sha1 : nullptr;
            }
            if (empty) field = nullptr;
            else ++depth;
        } else if ((type == XmlNodeType_Text || type == XmlNodeType_CDATA || type == XmlNodeType_Whitespace) && field) {
            reader->GetValue(&text, nullptr);
            *field += text;
        } else if (type == XmlNodeType_EndElement) {
            --depth;
            field = nullptr;
            if (inEntry && depth == 1) {
                inEntry = false;
                RecordedFile f{name, NormalHex(Narrow(md5), Md5), NormalHex(Narrow(sha1), Sha1), entryLine};
                const bool hashesGood = (md5.empty() || !f.md5.empty()) && (sha1.empty() || !f.sha1.empty());
                if (!name.empty() && hashesGood && (!f.md5.empty() || !f.sha1.empty())) db.entries.push_back(std::move(f));
                else db.badEntries.push_back(entryLine);
            }
        }
    }
    // Wine's reader closes what a cut-off file leaves open: the root's end tag must be there.
    const size_t last = bytes.find_last_not_of(" \t\r\n");
    const std::string end = "</" + Narrow(root) + ">";
    const bool cutOff = depth > 0 || (!root.empty() && (last == std::string::npos || last + 1 < end.size() ||
                                                        _strnicmp(bytes.c_str() + last + 1 - end.size(), end.c_str(), end.size()) != 0));
    if (FAILED(hr) || cutOff) {
        reader->GetLineNumber(&line);
        wchar_t code[16];
        swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
        db.error = L"не XML, строка / not well-formed XML, line " + std::to_wstring(line) + L" (" + (FAILED(hr) ? code : L"cut off") + L")";
    }
    return db;
}

}  // namespace fciv
