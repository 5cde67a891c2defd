#include "svy3/xmlfile/svy_node_value.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/test_support.h"
#include "svy3/external/uid.h"

namespace {

using std::make_tuple;
using svy3_test::Join;
using ZAR::CSVYNodeValue;

// A cursor on <Root><Value>text</Value><Empty/><Attrs a="..."/></Root>, standing on Value.
class SvyNodeValueTest : public testing::Test {
  protected:
    void Open(const std::string& valueText, const std::string& attributeText = "") {
        svy3_test::WriteFile(m_dir.File("v.xml"), "<Root><Value>" + valueText +
                                                      "</Value><Empty/><Attrs a=\"" +
                                                      attributeText + "\"/></Root>");
        ASSERT_EQ(m_file.Initialize(m_dir.File("v.xml")), 1);
        ASSERT_EQ(m_file.GotoChildNode("Value"), 1);
    }
    void MoveTo(const std::string& name) {
        m_file.GotoParentNode();
        ASSERT_EQ(m_file.GotoChildNode(name), 1);
    }
    // Reads into a variable holding `value` with a clear flag: (result, value, flag).
    template <class T>
    std::tuple<int32_t, T, int32_t> Read(T value, const char* attribute = nullptr) {
        int32_t error = 0;
        const int32_t result = CSVYNodeValue::Get(value, &m_file, attribute, &error);
        return make_tuple(result, value, error);
    }
    // Reads the text of a Value element holding `text`.
    template <class T>
    std::tuple<int32_t, T, int32_t> ReadText(const std::string& text, T value) {
        Open(text);
        return Read(value);
    }
    // The result of a write and the node's text after it.
    std::string Written(int32_t result) {
        std::string text;
        m_file.GetNodeText(text);
        return std::to_string(result) + " " + text;
    }

    svy3_test::TempDir m_dir;
    ZAR::CSVYXmlFile m_file;
};

TEST_F(SvyNodeValueTest, NumberReadsTheZeroCheckAndSaturation) {
    // Text, value read and result: a value of 0 counts only when the text holds a written zero.
    const std::tuple<const char*, int32_t, int32_t> cases[] = {{"0", 0, 1},
                                                               {"abc", 0, 0},
                                                               {"12abc", 12, 1},
                                                               {"000", 0, 1},
                                                               {"99999999999", 2147483647, 1}};
    for (const auto& [text, value, ok] : cases) {
        EXPECT_EQ(ReadText(text, int32_t{55}), make_tuple(ok, value, 1 - ok)) << text;
        EXPECT_EQ(CSVYNodeValue::m_str, text);
    }
    // Low 16 bits of 0 with no '0' in the text fail.
    EXPECT_EQ(ReadText("65536", int16_t{9}), make_tuple(0, int16_t{0}, 1));
    EXPECT_EQ(ReadText("65537", int16_t{9}), make_tuple(1, int16_t{1}, 0));
    // Unsigned reads saturate at the signed range, then keep the bits.
    EXPECT_EQ(ReadText("4294967295", 0u), make_tuple(1, 2147483647u, 0));
    EXPECT_EQ(ReadText("-1", 0u), make_tuple(1, 4294967295u, 0));
    EXPECT_EQ(ReadText("-9223372036854775808", int64_t{0}), make_tuple(1, INT64_MIN, 0));
    EXPECT_EQ(ReadText("123456789012345xyz", int64_t{0}),
              make_tuple(1, int64_t{123456789012345}, 0));

    // Real reads return 1 and report through the flag.
    EXPECT_EQ(ReadText("0.000", 4.0), make_tuple(1, 0.0, 0));
    MoveTo("Attrs");
    EXPECT_EQ(Read(4.0, "a"), make_tuple(1, 0.0, 1));  // an empty attribute stores 0
    MoveTo("Empty");
    EXPECT_EQ(Read(4.0), make_tuple(1, 4.0, 1));  // an element without text stores nothing
    EXPECT_EQ(ReadText(" 2.5e3m", 0.0f), make_tuple(1, 2500.0f, 0));
    EXPECT_EQ(ReadText("0.1", 0.0f), make_tuple(1, 0.1f, 0));
    EXPECT_EQ(ReadText("-1.25E-2xyz", 0.0), make_tuple(1, -0.0125, 0));
}

TEST_F(SvyNodeValueTest, StringsIdentifiersMissingAttributesAndTheErrorFlag) {
    Open("hello", "attr text");
    EXPECT_EQ(Read(std::string()), make_tuple(1, std::string("hello"), 0));
    MoveTo("Attrs");
    EXPECT_EQ(Read(std::string(), "a"), make_tuple(1, std::string("attr text"), 0));
    // A failed string read leaves the attribute's name, a failed number read the old value.
    EXPECT_EQ(Read(std::string(), "missing"), make_tuple(0, std::string("missing"), 1));
    EXPECT_EQ(Read(int32_t{3}, "missing"), make_tuple(0, 3, 1));

    // A failed identifier read keeps the value read before.
    Open("COR@@@");
    int32_t uid = 0, error = 0;
    EXPECT_EQ(CSVYNodeValue::GetUID(uid, &m_file), 1);
    MoveTo("Empty");
    EXPECT_EQ(CSVYNodeValue::GetUID(uid, &m_file, nullptr, &error), 0);
    EXPECT_EQ(Join(uid == ZAR::Str2UID("COR@@@"), error), "1 1 ");

    // One flag collects a series and is never cleared.
    Open("5", "");
    error = 0;
    int32_t number = 0;
    std::string text;
    CSVYNodeValue::Get(number, &m_file, nullptr, &error);
    CSVYNodeValue::Get(text, &m_file, nullptr, &error);
    EXPECT_EQ(error, 0);
    MoveTo("Attrs");
    CSVYNodeValue::Get(number, &m_file, "a", &error);  // empty text: fails
    EXPECT_EQ(error, 1);
    CSVYNodeValue::Set(1, &m_file, "b", &error);  // a success leaves the flag set
    EXPECT_EQ(Join(CSVYNodeValue::m_bOk, error), "1 1 ");
    // A real read reports its failure in m_bOk too, though it returns 1.
    double real = 0.0;
    EXPECT_EQ(CSVYNodeValue::Get(real, &m_file, "missing"), 1);
    EXPECT_EQ(CSVYNodeValue::m_bOk, 0);
    // A write on a cursor without a document fails and sets the flag.
    error = 0;
    ZAR::CSVYXmlFile empty;
    EXPECT_EQ(CSVYNodeValue::Set(1.0, &empty, "a", &error), 0);
    EXPECT_EQ(error, 1);
}

TEST_F(SvyNodeValueTest, WritesUseTheFixedFormats) {
    Open("x");
    MoveTo("Empty");
    EXPECT_EQ(Written(CSVYNodeValue::Set(2.5, &m_file)), "1 2.500000");  // appends a text child
    EXPECT_EQ(Written(CSVYNodeValue::Set(int64_t{-1}, &m_file)), "1 -1");
    EXPECT_EQ(Written(CSVYNodeValue::Set(int64_t{9000000000}, &m_file)), "1 9000000000");
    EXPECT_EQ(Written(CSVYNodeValue::Set(int32_t{-42}, &m_file)), "1 -42");
    EXPECT_EQ(Written(CSVYNodeValue::SetUID(7, &m_file)), "1 7");
    EXPECT_EQ(Written(CSVYNodeValue::Set(ZAR::SMeasure(3.0, 1), &m_file)), "1 3.000000");
    EXPECT_EQ(Written(CSVYNodeValue::Set(std::string("plain"), &m_file)), "1 plain");

    // Above the signed range: all digits are written, the read saturates.
    EXPECT_EQ(CSVYNodeValue::Set(uint32_t{3000000000u}, &m_file, "big"), 1);
    EXPECT_EQ(Read(std::string(), "big"), make_tuple(1, std::string("3000000000"), 0));
    EXPECT_EQ(Read(0u, "big"), make_tuple(1, 2147483647u, 0));
}

}  // namespace
