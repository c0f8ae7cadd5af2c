#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "check/CheckReport.h"
#include "check/ReportView.h"
#include "support/ParamNames.h"

namespace bw::check {
namespace {

constexpr const char* kRuntime = "/data/Runtime";

CheckRow Row(const std::string& file, uint32_t line, Keyword keyword, const std::string& reference,
             RefStatus status, std::vector<std::string> candidates = {}) {
    CheckRow r;
    r.file = std::string(kRuntime) + "/" + file;
    r.line = line;
    r.keyword = keyword;
    r.reference = reference;
    r.status = status;
    for (auto& c : candidates) r.candidates.push_back(std::string(kRuntime) + "/" + c);
    return r;
}

// Four rows of every kind a report holds: ok, missing, moved (with where it was found), unreadable.
std::vector<CheckRow> SampleRows() {
    CheckRow unreadable;
    unreadable.file = std::string(kRuntime) + "/Libraries/Shut/d.pz2";
    unreadable.status = RefStatus::Unreadable;
    unreadable.reason = "Permission denied";
    return {Row("Libraries/Pose/a.pz2", 7, Keyword::TextureMap, ":Runtime:Textures:Skin.JPG",
                RefStatus::Ok),
            Row("Libraries/Char/b.cr2", 329, Keyword::BumpMap, ":Runtime:Textures:rivets.tif",
                RefStatus::Missing),
            Row("Libraries/Props/c.pp2", 10, Keyword::ObjFileGeom, ":Runtime:Geometries:Crate.obj",
                RefStatus::Moved, {"Geometries/Other/Crate.obj"}),
            unreadable};
}

std::string Files(const std::vector<CheckRow>& rows) {
    std::string out;
    for (const auto& r : rows) out += r.file.str().substr(r.file.str().rfind('/') + 1) + " ";
    return out;
}

struct FilterCase {
    const char* what;
    StatusSet statuses;
    const char* text;
    const char* expected;  // the files listed, in row order
};

class RowFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(RowFilterTest, ListsTheRowsOfTheChosenStatusesHoldingTheText) {
    const FilterCase& c = GetParam();
    RowFilter filter(kRuntime);
    filter.SetStatuses(c.statuses);
    filter.SetText(c.text);
    std::vector<CheckRow> listed;
    for (const auto& r : SampleRows())
        if (filter.Accepts(r)) listed.push_back(r);
    EXPECT_EQ(Files(listed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowFilterTest,
    ::testing::Values(
        FilterCase{"everything", kAllStatuses, "", "a.pz2 b.cr2 c.pp2 d.pz2 "},
        FilterCase{"problems", kProblemStatuses, "", "b.cr2 c.pp2 d.pz2 "},
        FilterCase{"one_status", StatusBit(RefStatus::Moved), "", "c.pp2 "},
        FilterCase{"image_name_any_case", kAllStatuses, "skin.jpg", "a.pz2 "},
        FilterCase{"text_within_status", kProblemStatuses, "skin.jpg", ""},
        FilterCase{"path_with_backslashes", kAllStatuses, "pose\\A.pz2", "a.pz2 "},
        FilterCase{"found_at_path", kAllStatuses, "Other\\crate", "c.pp2 "},
        FilterCase{"keyword", kAllStatuses, "bumpmap", "b.cr2 "},
        FilterCase{"unreadable_reason", kAllStatuses, "denied", "d.pz2 "},
        // Every row lies under the Runtime folder: its own path must not match them all.
        FilterCase{"runtime_folder_not_searched", kAllStatuses, "data", ""}),
    bw::test::ByWhat);

struct OrderCase {
    const char* what;
    ReportColumn column;
    const char* expected;
};

class RowOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(RowOrderTest, SortsByTheColumnThenFileAndLine) {
    auto rows = SampleRows();
    // A second reference of the same file, earlier in it, and a tie on every column but the line.
    rows.push_back(Row("Libraries/Char/b.cr2", 12, Keyword::BumpMap, ":Runtime:Textures:rivets.tif",
                       RefStatus::Missing));
    std::stable_sort(rows.begin(), rows.end(), [&](const CheckRow& a, const CheckRow& b) {
        return RowLess(a, b, GetParam().column);
    });
    std::string order;
    for (const auto& r : rows) order += Files({r}) + std::to_string(r.line) + " ";
    EXPECT_EQ(order, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowOrderTest,
    ::testing::Values(
        OrderCase{"status", ReportColumn::Status, "a.pz2 7 c.pp2 10 b.cr2 12 b.cr2 329 d.pz2 0 "},
        OrderCase{"file", ReportColumn::File, "b.cr2 12 b.cr2 329 a.pz2 7 c.pp2 10 d.pz2 0 "},
        OrderCase{"line_as_number", ReportColumn::Line,
                  "d.pz2 0 a.pz2 7 c.pp2 10 b.cr2 12 b.cr2 329 "},
        OrderCase{"keyword", ReportColumn::Keyword, "d.pz2 0 b.cr2 12 b.cr2 329 c.pp2 10 a.pz2 7 "},
        OrderCase{"reference", ReportColumn::Reference,
                  "d.pz2 0 c.pp2 10 a.pz2 7 b.cr2 12 b.cr2 329 "},
        OrderCase{"found_at", ReportColumn::FoundAt,
                  "b.cr2 12 b.cr2 329 a.pz2 7 d.pz2 0 c.pp2 10 "}),
    bw::test::ByWhat);

struct EscapeCase {
    const char* what;
    std::string text;
    std::string expected;
};

class HtmlEscapedTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(HtmlEscapedTest, MakesTextSafeInContentAndAttributes) {
    EXPECT_EQ(HtmlEscaped(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlEscapedTest,
    ::testing::Values(EscapeCase{"plain", "Textures:skin.jpg", "Textures:skin.jpg"},
                      EscapeCase{"markup", "<b>&amp;</b>", "&lt;b&gt;&amp;amp;&lt;/b&gt;"},
                      EscapeCase{"quotes", "\"a\" 'b'", "&quot;a&quot; &#39;b&#39;"},
                      EscapeCase{"utf8_kept", "caf\xC3\xA9", "caf\xC3\xA9"},
                      EscapeCase{"latin1_byte", "caf\xE9", "caf\xC3\xA9"},
                      EscapeCase{"control_character", "a\x01", "a\xEF\xBF\xBD"},
                      EscapeCase{"delete_character", "\x7F", "\xEF\xBF\xBD"},
                      EscapeCase{"tab_and_newline_kept", "a\tb\nc", "a\tb\nc"}),
    bw::test::ByWhat);

TEST(ShownPath, ShortensPathsBelowTheRuntimeFolderOnly) {
    EXPECT_EQ(ShownPath("/data/Runtime/Libraries/Pose/a.pz2", kRuntime), "Libraries\\Pose\\a.pz2");
    EXPECT_EQ(ShownPath("/data/Runtime2/a.pz2", kRuntime), "/data/Runtime2/a.pz2");
    EXPECT_EQ(ShownPath("/data/Runtime", kRuntime), "/data/Runtime");
    EXPECT_EQ(ShownPath("/data/Runtime/a.pz2", ""), "/data/Runtime/a.pz2");
}

TEST(HtmlReport, IsOneSelfContainedPageWithEveryTextEscaped) {
    auto rows = SampleRows();
    rows[1].reference = ":Runtime:Textures:R&D <old> \"x\".tif";
    std::ostringstream out;
    WriteHtmlReport(out, rows, kRuntime, "Library check of C:\\Poser4\\Runtime <1>");
    const std::string html = out.str();

    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<title>Library check of C:\\Poser4\\Runtime &lt;1&gt;</title>"),
              std::string::npos);
    EXPECT_NE(html.find("<p class=\"counts\"><span>Moved: 1</span><span>Ambiguous: 0</span>"
                        "<span>Missing: 1</span><span>Unreadable: 1</span><span>OK: 1</span>"
                        "<span>Internal: 0</span></p>"),
              std::string::npos);
    EXPECT_NE(html.find("<tr class=\"missing\"><td class=\"status\">Missing</td>"
                        "<td>Libraries\\Char\\b.cr2</td><td class=\"line\">329</td>"
                        "<td>bumpMap</td><td>:Runtime:Textures:R&amp;D &lt;old&gt; "
                        "&quot;x&quot;.tif</td><td></td></tr>\n"),
              std::string::npos);
    EXPECT_NE(html.find("<td>Geometries\\Other\\Crate.obj</td></tr>\n"), std::string::npos);
    // An unreadable file has no line or keyword; its reason stands in the reference's place.
    EXPECT_NE(html.find("<td class=\"line\"></td><td></td><td>Permission denied</td>"),
              std::string::npos);
    EXPECT_EQ(html.find("<old>"), std::string::npos);
    for (const char* outside : {"<script", "<link", "src=", "href=", "url("})
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    const std::string end = "</tbody>\n</table>\n</body>\n</html>\n";
    EXPECT_EQ(html.substr(html.size() - end.size()), end);
}

}  // namespace
}  // namespace bw::check
