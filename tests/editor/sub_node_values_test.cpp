// Typed values of child elements: how numbers and flags are written and read back.
#include <gtest/gtest.h>

#include <boost/lexical_cast/bad_lexical_cast.hpp>
#include <cmath>
#include <limits>

#include "editor/editor_support.h"

namespace {

using svy3_test::SvyDocument;

class SubNodeValueTest : public svy3_test::EditorFixture, public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Load(SvyDocument("<V><Text>t</Text><Flag>1</Flag><Bad>yes</Bad>"
                                   "<Int>12ab</Int><Dbl>1.5</Dbl></V>")),
                  1);
        ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data/V", false));
    }
    // The text written for `value`, read back from the element.
    template <class Value>
    std::string Written(Value value) {
        EXPECT_TRUE(m_editor.SetSubNodeValue(value, "Out", nullptr));
        EXPECT_TRUE(m_editor.IsNode("V"));
        std::string text;
        EXPECT_TRUE(m_editor.GetSubNodeText(text, "Out", nullptr));
        return text;
    }
};

TEST_F(SubNodeValueTest, NumbersAndFlagsAreWrittenInTheirForms) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Written(0.1), "0.1");  // compact: a float's 6 digits
    EXPECT_EQ(Written(1234567.891), "1.23457e+06");
    m_editor.m_bCompactNumbers = false;
    EXPECT_EQ(Written(0.1), "0.10000000000000001");
    EXPECT_EQ(Written(-inf), "-infinity");
    EXPECT_EQ(Written(std::nan("")), "nan");
    EXPECT_EQ(Written(0.1f), "0.100000001");
    EXPECT_EQ(Written(int32_t{-42}), "-42");
    EXPECT_EQ(Written(uint32_t{4000000000u}), "4000000000");
    EXPECT_EQ(Written(true), "Y");
    EXPECT_EQ(Written(false), "N");
}

TEST_F(SubNodeValueTest, ValuesReadBackOrLeaveTheTargetUnchanged) {
    std::string flags;
    for (const char* text : {"Y", "y", "1", "N", "n", "0", "yes", ""}) {
        ASSERT_TRUE(m_editor.SetSubNodeText(text, "F", nullptr));
        bool value = true;
        const bool read = m_editor.GetSubNodeValue(value, "F", nullptr);
        flags += svy3_test::Join(read, value);
    }
    EXPECT_EQ(flags, "1 1 1 1 1 1 1 0 1 0 1 0 0 1 0 1 ");  // read, then the value
    double d = 0;
    EXPECT_TRUE(m_editor.GetSubNodeValue(d, "Dbl", nullptr));
    EXPECT_EQ(d, 1.5);
    int32_t i = 7;
    EXPECT_FALSE(m_editor.GetSubNodeValue(i, "Missing", nullptr));
    EXPECT_EQ(i, 7);
    EXPECT_THROW(m_editor.GetSubNodeValue(i, "Int", nullptr), boost::bad_lexical_cast);
    EXPECT_THROW(m_editor.GetSubNodeValue(d, "Text", nullptr), boost::bad_lexical_cast);
    ASSERT_TRUE(m_editor.GotoNode("/ZAR_SVY/Data/V", false));
    std::string text = "old";
    EXPECT_FALSE(m_editor.GetSubNodeText(text, "Missing", nullptr));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(m_editor.IsNode("V"));
    ASSERT_TRUE(m_editor.SetSubNodeText("v", "Text", "attr"));
    EXPECT_TRUE(m_editor.GetSubNodeText(text, "Text", "attr"));
    EXPECT_EQ(text, "v");
    m_editor.m_bCompactNumbers = false;
    for (double value : {0.1, -1e-300, 6.02214076e23, std::numeric_limits<double>::infinity()}) {
        ASSERT_TRUE(m_editor.SetSubNodeValue(value, "Round", nullptr));
        EXPECT_TRUE(m_editor.GetSubNodeValue(d, "Round", nullptr));
        EXPECT_EQ(d, value);
    }
}

}  // namespace
