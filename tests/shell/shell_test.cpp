// The shell: the line spacing dialog (the numbers it accepts, what it refuses and the preset it
// shows), the version texts of the library's modules and the version resource compiled into it.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.h"
#include "svy3/svy3.h"

namespace {

using svy3_test::Join;
using Script = std::vector<std::string>;  // texts typed, each confirmed with OK

// Plays the user from a script, closing the window when it runs out, and records the text shown
// each time the dialog asks. Every ask but the first follows a refusal: its message must already
// be shown.
class LineOffsetDlgTest : public testing::Test {
  protected:
    LineOffsetDlgTest()
        : m_prompt([this](std::string& text) {
              EXPECT_EQ(m_capture.messages().size() - m_messagesBefore, m_shown.size());
              m_shown.push_back(text);
              if (m_shown.size() > m_script.size())
                  return false;
              text = m_script[m_shown.size() - 1];
              return true;
          }) {}

    int Run(double preset, Script script) {
        m_script = std::move(script);
        m_shown.clear();
        m_messagesBefore = m_capture.messages().size();
        m_dlg.m_dOffset = preset;
        return m_dlg.DoModal();
    }
    // `count` times the message `text`, with the exclamation icon.
    static std::vector<std::pair<std::string, ZAR::MessageIcon>> Shown(const char* text,
                                                                       std::size_t count) {
        return {count, {text, ZAR::MessageIcon::Exclamation}};
    }

    svy3_test::MessageBoxCapture m_capture;
    ZAR::CLineOffsetDlg m_dlg;
    Script m_script;
    std::vector<std::string> m_shown;
    std::size_t m_messagesBefore = 0;
    ZAR::CScopedLineOffsetPrompt m_prompt;
};

TEST_F(LineOffsetDlgTest, AcceptsOneNumberFromZeroToOneThousandInclusive) {
    // The last two are too small for a double and read as zero, which is in range.
    const std::string tiny = "0." + std::string(400, '0') + "1e+5";
    const std::pair<std::string, double> accepted[] = {
        {"1e3", 1000.0},  {"-0", 0.0}, {" \t+12.5 \n", 12.5}, {".5", 0.5}, {"7.", 7.0},
        {"-1e-400", 0.0}, {tiny, 0.0}};
    for (const auto& [text, value] : accepted) {  // a zero without sign
        const int result = Run(0.1, {text});
        EXPECT_EQ(Join(result, m_dlg.m_dOffset), Join(ZAR::IDOK, value)) << text;
    }
    EXPECT_TRUE(m_capture.messages().empty());
}

TEST_F(LineOffsetDlgTest, RefusesWhatIsNotOneNumberInRangeAndAsksAgainWithTheTextTyped) {
    Script script = {"",     "   ",      "abc", "12abc", "1 2", "1,5", "0x10", "nan", "inf",
                     "-inf", "infinity", "+-1", "--1",   "+",   "-",   "1e",   "e5"};
    auto messages = Shown(ZAR::CLineOffsetDlg::kNotANumberMessage, script.size());
    const std::string huge = "1" + std::string(500, '0') + "e-10";  // too large for a double
    const Script outOfRange = {"1000.0001", "-1e-5", "1e400", huge};
    const auto more = Shown(ZAR::CLineOffsetDlg::kOutOfRangeMessage, outOfRange.size());
    script.insert(script.end(), outOfRange.begin(), outOfRange.end());
    messages.insert(messages.end(), more.begin(), more.end());
    EXPECT_EQ(Run(42.0, script), ZAR::IDCANCEL);  // the script runs out: the window is closed
    EXPECT_EQ(m_dlg.m_dOffset, 42.0);
    EXPECT_EQ(m_capture.messages(), messages);
    script.insert(script.begin(), "42");  // each time with the text refused still in the box
    EXPECT_EQ(m_shown, script);
}

TEST_F(LineOffsetDlgTest, PresetIsShownShortClosingKeepsItAndOkGivesItBackExactly) {
    const std::pair<double, std::string> shown[] = {{0.1, "0.1"}, {1000.0, "1000"}, {-5.0, "-5"}};
    for (const auto& [preset, text] : shown) {
        EXPECT_EQ(Run(preset, {}), ZAR::IDCANCEL);
        EXPECT_EQ(m_dlg.m_dOffset, preset);  // closing keeps even a preset outside the range
        EXPECT_EQ(m_shown, std::vector<std::string>{text});
    }
    // An empty prompt restores the default, which closes at once without asking.
    ASSERT_TRUE(ZAR::SetLineOffsetPrompt({}));  // the setter hands back the fixture's prompt
    m_shown.clear();
    EXPECT_EQ(m_dlg.DoModal(), ZAR::IDCANCEL);
    EXPECT_EQ(m_dlg.m_dOffset, -5.0);
    EXPECT_TRUE(m_shown.empty());
    // OK on the text as shown; the prompt replaced is the default, the empty one.
    EXPECT_FALSE(ZAR::SetLineOffsetPrompt([](std::string&) { return true; }));
    for (double preset : {0.1 + 0.2, 1e-7, 123.456789012345, 999.9999999999999,
                          std::numeric_limits<double>::denorm_min()}) {
        m_dlg.m_dOffset = preset;
        EXPECT_EQ(m_dlg.DoModal(), ZAR::IDOK);
        EXPECT_EQ(m_dlg.m_dOffset, preset);
    }
    EXPECT_TRUE(m_capture.messages().empty());
}

// Calls `get` with a `size`-byte buffer inside a poisoned one: nothing around it may change and
// its last byte must be a terminator. Returns the text it holds.
std::string CallGuarded(void (*get)(char*, int32_t), int32_t size) {
    std::vector<char> memory(size + 32, '#');
    get(memory.data() + 16, size);
    EXPECT_EQ(std::string(memory.begin(), memory.begin() + 16), std::string(16, '#')) << size;
    EXPECT_EQ(std::string(memory.end() - 16, memory.end()), std::string(16, '#')) << size;
    if (size <= 0)
        return std::string();
    EXPECT_EQ(memory[16 + size - 1], '\0') << size;
    return std::string(memory.data() + 16, strnlen(memory.data() + 16, size));
}

TEST(VersionText, ModuleTextsCarryTheirFieldsAndFitOrAreCut) {
    // Module name, version, the release text all share, date, then a part number. A text that
    // does not fit is either cut to the buffer or, for the modules that need their length plus
    // two, empty.
    const std::tuple<void (*)(char*, int32_t), const char*, const char*, bool> modules[] = {
        {&XmlDom_GetVerStr, "XMLDOM\t1.1.0.0", "2005-02-07", false},
        {&SVYXmlFile_GetVerStr, "SVYXmlFile\t1.1.1.0", "2005-10-14", false},
        {&SVYInterface_GetVerStr, "SVYInterfaceRM\t1.1.0.0", "2005-02-07", false},
        {&SVYSettingsBlock_GetVerStr, "SVYSettingsBlock\t1.1.1.0", "2005-10-14", true},
        {&SVYDataBlock_GetVerStr, "SVYDataBlock\t1.1.1.0", "2005-10-14", true},
        {&SVYDataBlockInterfaceRM_GetVerStr, "SVYDataBlockInterfaceRM\t1.1.0.0", "2005-02-07",
         true}};
    for (const auto& [get, module, date, cut] : modules) {
        const std::string fields = module + std::string("\tVersion 1 Release 1\t") + date + "\t";
        SCOPED_TRACE(fields);
        const std::string text = CallGuarded(get, 512);
        EXPECT_EQ(text.compare(0, fields.size(), fields), 0) << text;
        EXPECT_GT(text.size(), fields.size()) << text << ": no part number";
        EXPECT_EQ(text.find('\t', fields.size()), std::string::npos) << text;

        const int32_t length = static_cast<int32_t>(text.size());
        EXPECT_EQ(CallGuarded(get, length + 2), text);
        for (int32_t size : {length + 1, length, 8, 1, 0, -1})
            EXPECT_EQ(CallGuarded(get, size), cut && size > 0 ? text.substr(0, size - 1) : "")
                << size;
        get(nullptr, 64);  // must not crash
    }
}

// The numbers and texts of the resource compiled into the library (the numbers are the version
// macros) name the release of the version text, and the product name ends in the part number.
TEST(VersionTextResource, NumbersTextsAndPartNumberAgree) {
    const ZAR::SVersionResource& resource = ZAR::GetVersionResource();
    const std::string numbers =
        std::regex_replace(std::string(SVY3_VERSION_STRING) + ".", std::regex("\\."), " ");
    for (const ZAR::SVersionNumber& n : {resource.fileVersion, resource.productVersion})
        EXPECT_EQ(Join(n.major, n.minor, n.revision, n.build), numbers);
    EXPECT_EQ(Join(resource.fileVersionText, resource.productVersionText),
              Join(SVY3_VERSION_STRING, SVY3_VERSION_STRING));
    EXPECT_STREQ(ZAR::GetSoftwareDipText(), resource.softwareDip);
    EXPECT_EQ(resource.productName,
              "SVY Dynamic Link Library V3 R2 " + std::string(resource.softwareDip));
    EXPECT_EQ(ZAR::GetSVYDLLApp().InitInstance(), 1);
}

}  // namespace
