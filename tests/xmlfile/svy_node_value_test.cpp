#include "svy3/xmlfile/svy_node_value.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "svy3/external/uid.h"

namespace {

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
    std::string Text() {
        std::string text;
        m_file.GetNodeText(text);
        return text;
    }

    svy3_test::TempDir m_dir;
    ZAR::CSVYXmlFile m_file;
};

TEST_F(SvyNodeValueTest, IntegerReadsAndTheZeroCheck) {
    struct Case {
        const char* text;
        int32_t value;
        int32_t ok;
    } cases[] = {
        {"0", 0, 1},
        {"abc", 0, 0},
        {"12abc", 12, 1},
        {"  -7", -7, 1},
        {"000", 0, 1},
        {"99999999999", 2147483647, 1},
        {"-99999999999", -2147483647 - 1, 1},
    };
    for (const Case& c : cases) {
        Open(c.text);
        int32_t value = 55, error = 0;
        EXPECT_EQ(CSVYNodeValue::Get(value, &m_file, nullptr, &error), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(error, c.ok ? 0 : 1) << c.text;
        EXPECT_EQ(CSVYNodeValue::m_str, c.text);
    }
}

TEST_F(SvyNodeValueTest, NarrowAndWideIntegers) {
    Open("65536");
    int16_t small = 9;
    EXPECT_EQ(CSVYNodeValue::Get(small, &m_file), 0);  // low 16 bits are 0 and no '0' in the text
    EXPECT_EQ(small, 0);
    Open("65537");
    EXPECT_EQ(CSVYNodeValue::Get(small, &m_file), 1);
    EXPECT_EQ(small, 1);

    Open("4294967295");  // saturates at the signed range, then keeps the bits
    uint32_t unsignedValue = 0;
    EXPECT_EQ(CSVYNodeValue::Get(unsignedValue, &m_file), 1);
    EXPECT_EQ(unsignedValue, 2147483647u);
    Open("-1");
    EXPECT_EQ(CSVYNodeValue::Get(unsignedValue, &m_file), 1);
    EXPECT_EQ(unsignedValue, 4294967295u);

    Open("-9223372036854775808");
    int64_t wide = 0;
    EXPECT_EQ(CSVYNodeValue::Get(wide, &m_file), 1);
    EXPECT_EQ(wide, INT64_MIN);
    Open("123456789012345xyz");
    EXPECT_EQ(CSVYNodeValue::Get(wide, &m_file), 1);
    EXPECT_EQ(wide, 123456789012345);
}

TEST_F(SvyNodeValueTest, RealReadsReturnOneAndReportThroughTheFlag) {
    Open("0.000", "");
    double value = 4.0;
    int32_t error = 0;
    EXPECT_EQ(CSVYNodeValue::Get(value, &m_file, nullptr, &error), 1);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(CSVYNodeValue::m_bOk, 1);
    EXPECT_EQ(error, 0);

    // An empty attribute stores 0, returns 1 and sets the flag.
    MoveTo("Attrs");
    value = 4.0;
    EXPECT_EQ(CSVYNodeValue::Get(value, &m_file, "a", &error), 1);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(CSVYNodeValue::m_bOk, 0);
    EXPECT_EQ(error, 1);

    // An element without text stores nothing, returns 1 and sets the flag.
    MoveTo("Empty");
    value = 4.0;
    error = 0;
    EXPECT_EQ(CSVYNodeValue::Get(value, &m_file, nullptr, &error), 1);
    EXPECT_EQ(value, 4.0);
    EXPECT_EQ(error, 1);

    Open(" 2.5e3m");
    float single = 0;
    EXPECT_EQ(CSVYNodeValue::Get(single, &m_file), 1);
    EXPECT_EQ(single, 2500.0f);
    Open("0.1");
    EXPECT_EQ(CSVYNodeValue::Get(single, &m_file), 1);
    EXPECT_EQ(single, 0.1f);
    Open("-1.25E-2xyz");
    EXPECT_EQ(CSVYNodeValue::Get(value, &m_file), 1);
    EXPECT_EQ(value, -0.0125);
    Open("+3.5");
    EXPECT_EQ(CSVYNodeValue::Get(value, &m_file), 1);
    EXPECT_EQ(value, 3.5);
}

TEST_F(SvyNodeValueTest, StringReadsAndMissingAttributes) {
    Open("hello", "attr text");
    std::string text;
    EXPECT_EQ(CSVYNodeValue::Get(text, &m_file), 1);
    EXPECT_EQ(text, "hello");
    MoveTo("Attrs");
    EXPECT_EQ(CSVYNodeValue::Get(text, &m_file, "a"), 1);
    EXPECT_EQ(text, "attr text");
    int32_t error = 0;
    EXPECT_EQ(CSVYNodeValue::Get(text, &m_file, "missing", &error), 0);
    EXPECT_EQ(text, "missing");  // the name stays in the value
    EXPECT_EQ(error, 1);
    int32_t number = 3;
    EXPECT_EQ(CSVYNodeValue::Get(number, &m_file, "missing"), 0);
    EXPECT_EQ(number, 3);  // a failed read leaves a number as it was
}

TEST_F(SvyNodeValueTest, IdentifiersReadAsTheirUid) {
    Open("COR@@@");
    int32_t uid = 0;
    EXPECT_EQ(CSVYNodeValue::GetUID(uid, &m_file), 1);
    EXPECT_EQ(uid, ZAR::Str2UID("COR@@@"));
    MoveTo("Empty");
    uid = 17;
    int32_t error = 0;
    EXPECT_EQ(CSVYNodeValue::GetUID(uid, &m_file, nullptr, &error), 0);
    EXPECT_EQ(uid, 17);
    EXPECT_EQ(error, 1);
}

TEST_F(SvyNodeValueTest, WritesUseTheFixedFormats) {
    Open("x");
    MoveTo("Empty");
    EXPECT_EQ(CSVYNodeValue::Set(2.5, &m_file), 1);  // appends a text child
    EXPECT_EQ(Text(), "2.500000");
    EXPECT_EQ(CSVYNodeValue::Set(int64_t{-1}, &m_file), 1);
    EXPECT_EQ(Text(), "-1");
    EXPECT_EQ(CSVYNodeValue::Set(int64_t{9000000000}, &m_file), 1);
    EXPECT_EQ(Text(), "9000000000");
    EXPECT_EQ(CSVYNodeValue::Set(int32_t{-42}, &m_file), 1);
    EXPECT_EQ(Text(), "-42");
    EXPECT_EQ(CSVYNodeValue::SetUID(7, &m_file), 1);
    EXPECT_EQ(Text(), "7");
    EXPECT_EQ(CSVYNodeValue::Set(ZAR::SMeasure(3.0, 1), &m_file), 1);
    EXPECT_EQ(Text(), "3.000000");
    EXPECT_EQ(CSVYNodeValue::Set(std::string("plain"), &m_file), 1);
    EXPECT_EQ(Text(), "plain");

    // Above the signed range: all digits are written, the read saturates.
    EXPECT_EQ(CSVYNodeValue::Set(uint32_t{3000000000u}, &m_file, "big"), 1);
    std::string big = "big";
    m_file.GetNodeAttribute(big);
    EXPECT_EQ(big, "3000000000");
    uint32_t back = 0;
    EXPECT_EQ(CSVYNodeValue::Get(back, &m_file, "big"), 1);
    EXPECT_EQ(back, 2147483647u);
}

TEST_F(SvyNodeValueTest, OneFlagCollectsASeriesAndIsNeverCleared) {
    Open("5", "");
    int32_t error = 0, number = 0;
    std::string text;
    CSVYNodeValue::Get(number, &m_file, nullptr, &error);
    CSVYNodeValue::Get(text, &m_file, nullptr, &error);
    EXPECT_EQ(error, 0);
    MoveTo("Attrs");
    CSVYNodeValue::Get(number, &m_file, "a", &error);  // empty text: fails
    EXPECT_EQ(error, 1);
    CSVYNodeValue::Set(1, &m_file, "b", &error);  // a success leaves the flag set
    EXPECT_EQ(CSVYNodeValue::m_bOk, 1);
    EXPECT_EQ(error, 1);

    // A write on a cursor without a document fails and sets the flag.
    error = 0;
    ZAR::CSVYXmlFile empty;
    EXPECT_EQ(CSVYNodeValue::Set(1.0, &empty, "a", &error), 0);
    EXPECT_EQ(error, 1);
}

}  // namespace
