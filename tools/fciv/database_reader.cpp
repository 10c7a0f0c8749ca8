#include "fciv/database_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include "common/database_format.h"
#include "common/sums.h"
#include "fciv/engine/console.h"
#include "fciv/files.h"
#include "win32/paths.h"

namespace fciv {

namespace {

struct ComRelease {
    void operator()(IUnknown* p) const { p->Release(); }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

namespace db = common::database;

const wchar_t NoRoot[] = L"нет корневого элемента / no root element";

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

// A function of a system DLL, loaded from the system folder when first needed: the tool starts with the
// kernel's DLLs alone, so that its Ctrl+C handler is in place at once.
template <class F>
F SystemFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

IXmlReader* NewXmlReader() {
    const auto create = SystemFunction<HRESULT(WINAPI*)(REFIID, void**, IMalloc*)>(L"xmllite.dll", "CreateXmlReader");
    IXmlReader* reader = nullptr;
    return create && SUCCEEDED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr)) ? reader : nullptr;
}

// No entry of a database is near this long: a name as long as any path can be, written as character references.
constexpr uint64_t MaxNode = 4 << 20;
constexpr size_t MaxField = 32768;  // characters: longer than any path

// The file as the parser reads it, failing once it has read more than MaxNode
// since the last node: a hostile node is refused, never held in memory.
class BoundedStream final : public ISequentialStream {
public:
    explicit BoundedStream(IStream* file) : file_(file) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == __uuidof(IUnknown) || iid == __uuidof(ISequentialStream) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }  // owned by the reader's state, which outlives the parser
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* got) override {
        *got = 0;
        if (tooLong_ || sinceNode_ > MaxNode) return tooLong_ = true, E_FAIL;
        const HRESULT hr = file_->Read(buffer, size, got);
        sinceNode_ += *got;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    void NodeRead() { sinceNode_ = 0; }
    bool TooLong() const { return tooLong_; }

private:
    IStream* file_;
    uint64_t sinceNode_ = 0;
    bool tooLong_ = false;
};

}  // namespace

struct DatabaseReader::State {
    ComPtr<IStream> stream;
    std::unique_ptr<BoundedStream> bounded;
    ComPtr<IXmlReader> reader;
    uint64_t size = 0;
    std::wstring error;
    bool done = false;
    int depth = 0;  // elements open
    std::wstring root;
    bool rootEmpty = false, rootClosed = false;
    UINT rootLine = 0, rootColumn = 0;  // where the root's start tag is
    size_t entries = 0;
    DatabaseItem item;
    bool inItem = false, overlong = false;
    std::wstring* field = nullptr;
    std::wstring name, code;
    std::array<std::wstring, common::RecordedCount> hashes;
    UINT line = 0, column = 0, stuck = 0;

    bool Fail(std::wstring why) {
        error = std::move(why);
        done = true;
        return false;
    }

    // Wine's XmlLite fails an assertion, ending the process, on a file that ends inside or right after
    // its XML declaration ("<?x", "<?xml version="1.0"?>"): such a file is told apart before.
    std::wstring DeclarationOnly() {
        char head[1024];
        ULONG got = 0;
        const LARGE_INTEGER start{};
        if (size >= sizeof head || FAILED(stream->Read(head, sizeof head, &got)) || FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
            return {};
        std::string_view text(head, got);
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        if (text.empty()) return L"файл пуст / the file is empty";  // a byte-order mark alone asserts too
        if (std::string_view("<?xml ").starts_with(text)) return L"не XML, строка 1 / not well-formed XML, line 1 (cut off)";
        if (text.starts_with("<?xml ") && text.find("?>") == text.size() - 2) return NoRoot;
        return {};
    }

    void Begin(DatabaseItem::Kind kind) {
        inItem = true;
        overlong = false;
        item = {};
        item.kind = kind;
        name.clear(), code.clear();
        hashes = {};
        reader->GetLineNumber(&line);
        item.line = line;
    }

    // The entry just closed, checked.
    void Finish() {
        inItem = false;
        field = nullptr;
        item.name = name;
        if (item.kind == DatabaseItem::File) {
            bool hashesGood = true, anyHash = false;
            for (int a = 0; a < common::RecordedCount; ++a) {
                item.hashes[a] = common::NormalHex(Narrow(hashes[a]), common::Algorithm(a));
                hashesGood = hashesGood && (hashes[a].empty() || !item.hashes[a].empty());
                anyHash = anyHash || !item.hashes[a].empty();
            }
            if (name.empty() || !hashesGood || !anyHash || overlong) item.kind = DatabaseItem::Bad;
        } else if (item.kind == DatabaseItem::Unread) {
            const bool number = !code.empty() && code.size() <= 10 && code.find_first_not_of(L"0123456789") == std::wstring::npos &&
                                std::stoull(code) <= 0xFFFFFFFF;  // a DWORD
            if (name.empty() || !number || overlong) item.kind = DatabaseItem::Bad;
            else item.error = static_cast<unsigned long>(std::stoull(code));
        }
    }
};

DatabaseReader::DatabaseReader(const std::wstring& path) : state_(std::make_unique<State>()) {
    State& s = *state_;
    IStream* stream = nullptr;
    const auto open = SystemFunction<decltype(&SHCreateStreamOnFileEx)>(L"shlwapi.dll", "SHCreateStreamOnFileEx");
    const HRESULT hr = !open ? HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)
                             : open(win32::ExtendedPath(ExactFullPath(path)).c_str(), STGM_READ | STGM_SHARE_DENY_NONE,
                                    FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, &stream);
    if (FAILED(hr)) {
        s.Fail(L"не прочитать / cannot read " + Reason(HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : hr));
        return;
    }
    s.stream.reset(stream);
    STATSTG stat{};
    if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME))) s.size = stat.cbSize.QuadPart;
    if (s.size == 0) {
        s.Fail(L"файл пуст / the file is empty");
        return;
    }
    if (std::wstring problem = s.DeclarationOnly(); !problem.empty()) {
        s.Fail(std::move(problem));
        return;
    }
    s.reader.reset(NewXmlReader());
    if (!s.reader) {
        s.Fail(L"нет XmlLite / XmlLite is not available");
        return;
    }
    s.reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);  // no entity expansion bombs
    s.reader->SetProperty(XmlReaderProperty_MaxElementDepth, 64);
    s.bounded = std::make_unique<BoundedStream>(stream);
    s.reader->SetInput(s.bounded.get());
}

DatabaseReader::~DatabaseReader() = default;

const std::wstring& DatabaseReader::Error() const { return state_->error; }

bool DatabaseReader::Next(DatabaseItem& out) {
    State& s = *state_;
    if (s.done) return false;
    IXmlReader& reader = *s.reader;
    XmlNodeType type;
    HRESULT hr;
    while ((hr = reader.Read(&type)) == S_OK && !s.bounded->TooLong()) {
        s.bounded->NodeRead();
        // Wine's reader can hand back the same node forever at a cut-off end.
        UINT line = 0, column = 0;
        reader.GetLineNumber(&line);
        reader.GetLinePosition(&column);
        s.stuck = line == s.line && column == s.column ? s.stuck + 1 : 0;
        s.line = line, s.column = column;
        if (s.stuck > 8) {
            hr = E_UNEXPECTED;
            break;
        }
        const wchar_t* text = nullptr;
        if (type == XmlNodeType_Element) {
            reader.GetLocalName(&text, nullptr);
            const bool empty = reader.IsEmptyElement();
            if (s.depth == 0 && s.root.empty()) {
                if (!Is(text, db::Root)) return s.Fail(L"не база fciv / not a database of this tool: <" + std::wstring(text) + L">");
                s.root = text;
                s.rootEmpty = empty;
                s.rootLine = line, s.rootColumn = column;
            } else if (s.depth == 1 && (Is(text, db::Entry) || Is(text, db::Unread) || Is(text, db::Interrupted))) {
                s.Begin(Is(text, db::Entry) ? DatabaseItem::File : Is(text, db::Unread) ? DatabaseItem::Unread : DatabaseItem::Interrupted);
                s.entries += s.item.kind != DatabaseItem::Interrupted;
            } else if (s.inItem && s.depth == 2) {
                s.field = Is(text, db::Name) ? &s.name : Is(text, db::Error) ? &s.code : nullptr;
                for (int a = 0; a < common::RecordedCount; ++a)
                    if (Is(text, db::Hashes[a])) s.field = &s.hashes[a];
            }
            if (!empty) {
                ++s.depth;
            } else if (s.inItem && s.depth == 1) {
                s.Finish();
                out = std::move(s.item);
                return true;
            } else {
                s.field = nullptr;
            }
        } else if ((type == XmlNodeType_Text || type == XmlNodeType_CDATA || type == XmlNodeType_Whitespace) && s.field) {
            UINT length = 0;
            reader.GetValue(&text, &length);
            s.overlong = s.overlong || s.field->size() + length > MaxField;
            if (!s.overlong) s.field->append(text, length);
        } else if (type == XmlNodeType_EndElement) {
            // Wine's reader closes what a cut-off file leaves open, with end tags where the start tags are.
            if (--s.depth == 0) s.rootClosed = line != s.rootLine || column != s.rootColumn;
            s.field = nullptr;
            if (s.inItem && s.depth == 1) {
                s.Finish();
                out = std::move(s.item);
                return true;
            }
        }
    }
    if (SUCCEEDED(hr) && s.root.empty()) return s.Fail(NoRoot);
    if (s.bounded->TooLong())
        return s.Fail(L"запись длиннее любого пути, строка " + std::to_wstring(s.line) + L" / an entry longer than any path can be, line " +
                      std::to_wstring(s.line));
    if (FAILED(hr) || s.depth > 0 || (!s.rootEmpty && !s.rootClosed)) {
        reader.GetLineNumber(&s.line);
        wchar_t code[16];
        swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
        return s.Fail(L"не XML, строка " + std::to_wstring(s.line) + L" / not well-formed XML, line " + std::to_wstring(s.line) + L" (" +
                      (FAILED(hr) ? code : L"cut off") + L")");
    }
    if (s.entries == 0) return s.Fail(L"в базе нет записей / the database has no entries");
    s.done = true;
    return false;
}

std::wstring AtLine(size_t number) { return L", строка / line " + std::to_wstring(number); }

std::wstring NotRecordedText(const std::wstring& name, unsigned long error) {
    return L"НЕ ЗАПИСАН / NOT RECORDED: " + name + L" (" + Reason(error) + L")";
}

std::wstring NotAFile(const DatabaseItem& item) {
    if (item.kind == DatabaseItem::Unread) return NotRecordedText(item.name, item.error);
    if (item.kind == DatabaseItem::Bad) return L"Запись без имени или хэша / entry without a name or hash" + AtLine(item.line);
    return Incomplete;
}

}  // namespace fciv
