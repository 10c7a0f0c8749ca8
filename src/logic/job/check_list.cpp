#include "logic/job/check_list.h"

#include <algorithm>

#include "common/report_format.h"
#include "common/sums.h"
#include "common/text.h"
#include "common/utf8.h"
#include "logic/job/parameters.h"

namespace job {

ListKind KindOfList(std::wstring_view fileName, std::string_view head) {
    if (common::IsSumsFileName(common::ToUtf8(fileName))) return ListKind::Sums;
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    head = common::TrimStart(head, std::string_view(" \t\r\n"));
    if (head.starts_with("<")) return head.find("<FCIV") != std::string_view::npos ? ListKind::Database : ListKind::None;
    // The head may end inside a line: what was read must be mostly sums lines.
    // Lines of an algorithm the tool lacks are sums lines too: the check names them.
    const common::SumsFile sums = common::ParseSums(head);
    const auto unsupported = static_cast<size_t>(std::count_if(sums.problems.begin(), sums.problems.end(),
                                                               [](const common::SumsProblem& p) { return p.problem == common::LineProblem::Unsupported; }));
    const size_t lines = sums.entries.size() + unsupported;
    return lines > 0 && lines >= sums.problems.size() - unsupported ? ListKind::Sums : ListKind::None;
}

bool IsReportOfRelativeNames(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    const size_t end = head.find('\n');
    const std::string_view name = common::TrimEnd(head.substr(0, end), std::string_view("\r"));
    const std::string_view next = end == std::string_view::npos ? std::string_view() : head.substr(end + 1);
    const bool absolute = (name.size() > 1 && name[1] == ':') || name.starts_with("\\");
    return !name.empty() && !absolute && std::any_of(common::report::HashLabels.begin(), common::report::HashLabels.end(),
                                                     [&](std::string_view label) { return next.starts_with(label); });
}

std::wstring CheckParameters(ListKind kind, const std::wstring& list, const std::wstring& folder, const std::wstring& verdicts) {
    return std::wstring(L"-v ") + (kind == ListKind::Database ? L"-xml " : L"-sums ") + QuoteArgument(list) +
           (folder.empty() ? L"" : L" " + QuoteArgument(folder)) + L" -verdicts " + QuoteArgument(verdicts);
}

std::wstring VerdictsName(int n) { return n == 1 ? L"dbcheck.txt" : L"dbcheck (" + std::to_wstring(n) + L").txt"; }

}  // namespace job
