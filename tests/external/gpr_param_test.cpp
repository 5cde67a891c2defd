#include "svy3/external/gpr_param.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "support/test_support.h"

namespace {

using svy3_test::TempDir;
using svy3_test::WriteFile;
using ZAR::GprParam;
using ZAR::SGprParam;
using ZAR::SMeasure;

// Loads `text` written to a header file; returns the Load result.
int LoadText(const TempDir& dir, const std::string& text, GprParam& reader) {
    return reader.Load(WriteFile(dir.File("LINE01.HD"), text));
}

TEST(GprParam, ReadsAHandEditedHeader) {
    TempDir dir;
    const std::string text =
        "1234\r\n"
        "Data Collected with a test rig\r\n"
        "2024-05-21\r\n"
        "NUMBER OF TRACES   = 421\r\n"
        "number  of\tpts/trc=500\r\n"
        "  TimeZero at Point =  12.5  \r\n"
        "TOTAL TIME WINDOW = 100\r\n"
        "STARTING POSITION = 1.5\r\n"
        "FINAL POSITION = 22.5\r\n"
        "STEP SIZE USED = 0.05\r\n"
        "NOMINAL FREQUENCY = 250.00\r\n"
        "ANTENNA SEPARATION = 0.38\r\n"
        "PULSER VOLTAGE (V) = 190\r\n"
        "NUMBER OF STACKS = 4\r\n"
        "SURVEY MODE = Reflection\r\n"
        "Odometer Calibration (t/m) = 1026.2\r\n"
        "SOME VENDOR KEY = whatever = 3\r\n"
        "a stray remark\r\n"
        "POSITION UNITS = metres\r\n";
    GprParam reader;
    ASSERT_EQ(LoadText(dir, text, reader), 0);
    const SGprParam& p = *reader.GetGprParam();
    EXPECT_EQ(p.NumTraces, 421u);
    EXPECT_EQ(p.SamplesPerTrace, 500u);
    EXPECT_EQ(p.TimeZero, 12.5);
    EXPECT_EQ(p.TimeWindowNs, 100.0);
    EXPECT_EQ(p.SamplingIntervalNs, 0.2);  // window / samples
    // Units come after the measures in the file and still apply to them.
    EXPECT_EQ(p.StartPosition, SMeasure(1.5, 1));
    EXPECT_EQ(p.EndPosition, SMeasure(22.5, 1));
    EXPECT_EQ(p.StepSize, SMeasure(0.05, 1));
    EXPECT_EQ(p.AntennaSeparation, SMeasure(0.38, 1));
    EXPECT_EQ(p.FrequencyMHz, 250.0);
    EXPECT_EQ(p.PulserVoltage, 190.0);
    EXPECT_EQ(p.Stacks, 4u);
    EXPECT_EQ(p.SurveyMode, "Reflection");
    EXPECT_EQ(p.OdometerTicksPerMetre, 1026.2);
    EXPECT_EQ(p.TraceStacking, "");
    EXPECT_EQ(p.DateTime, "2024-05-21");
}

TEST(GprParam, MissingKeysStayZeroAndExplicitIntervalWins) {
    TempDir dir;
    GprParam reader;
    ASSERT_EQ(LoadText(dir, "NUMBER OF PTS/TRC = 0\nTOTAL TIME WINDOW = 50\n", reader), 0);
    EXPECT_EQ(reader.GetGprParam()->SamplingIntervalNs, 0.0);  // no division by zero samples
    EXPECT_EQ(*reader.GetGprParam(), [] {
        SGprParam expected;
        expected.TimeWindowNs = 50.0;
        return expected;
    }());

    ASSERT_EQ(LoadText(dir,
                       "NUMBER OF PTS/TRC = 400\nTOTAL TIME WINDOW = 50\nSAMPLING INTERVAL = 0.1\n"
                       "TRACE STACKING = 8 auto\nPOSITION UNITS = FT\nSTEP SIZE USED = 0.5\n"
                       "STEP SIZE USED = 0.25\n",
                       reader),
              0);
    const SGprParam& p = *reader.GetGprParam();
    EXPECT_EQ(p.SamplingIntervalNs, 0.1);
    EXPECT_EQ(p.TraceStacking, "8 auto");
    EXPECT_EQ(p.StepSize, SMeasure(0.25, 5));  // last value of a repeated key
    EXPECT_EQ(p.StartPosition, SMeasure(0.0, 5));
    EXPECT_EQ(p.DateTime, "");
}

TEST(GprParam, DateLineOnlyAmongFirstThreeLinesAndDateKeyWins) {
    TempDir dir;
    GprParam reader;
    ASSERT_EQ(LoadText(dir, "a\n\nb\n\nc\n2024-05-21\nNUMBER OF TRACES = 1\n", reader), 0);
    EXPECT_EQ(reader.GetGprParam()->DateTime, "");  // fourth non-blank line
    ASSERT_EQ(LoadText(dir, "title\r21-May-2024 13:04:05\rNUMBER OF TRACES = 1\r", reader), 0);
    EXPECT_EQ(reader.GetGprParam()->DateTime, "21-May-2024 13:04:05");  // lone CR line ends
    ASSERT_EQ(LoadText(dir, "2024-05-21\nDATE = 2023-01-02\nNUMBER OF TRACES = 1\n", reader), 0);
    EXPECT_EQ(reader.GetGprParam()->DateTime, "2023-01-02");
    ASSERT_EQ(LoadText(dir, "not a date 12\nNUMBER OF TRACES = 1\n", reader), 0);
    EXPECT_EQ(reader.GetGprParam()->DateTime, "");
}

TEST(GprParam, BadNumbersAreReadAsLeadingNumbersOrZero) {
    TempDir dir;
    GprParam reader;
    ASSERT_EQ(
        LoadText(dir,
                 "TOTAL TIME WINDOW = 1e999\nTIMEZERO AT POINT = nan\nNOMINAL FREQUENCY = inf\n"
                 "PULSER VOLTAGE (V) = 12abc\nNUMBER OF TRACES = -5\n"
                 "NUMBER OF PTS/TRC = 4294967296\nNUMBER OF STACKS = 32.0\n"
                 "STEP SIZE USED = \nSTARTING POSITION = ,5\nFINAL POSITION = -1.5e3\n",
                 reader),
        0);
    const SGprParam& p = *reader.GetGprParam();
    EXPECT_EQ(p.TimeWindowNs, 0.0);
    EXPECT_EQ(p.TimeZero, 0.0);
    EXPECT_EQ(p.FrequencyMHz, 0.0);
    EXPECT_EQ(p.PulserVoltage, 12.0);
    EXPECT_EQ(p.NumTraces, 0u);
    EXPECT_EQ(p.SamplesPerTrace, 0u);
    EXPECT_EQ(p.Stacks, 32u);
    EXPECT_EQ(p.StepSize.value, 0.0);
    EXPECT_EQ(p.StartPosition.value, 0.0);
    EXPECT_EQ(p.EndPosition.value, -1500.0);
    EXPECT_EQ(p.StepSize.unit, 0);  // no POSITION UNITS
}

TEST(GprParam, FilesThatAreNotHeaders) {
    TempDir dir;
    GprParam reader;
    ASSERT_EQ(LoadText(dir, "NUMBER OF TRACES = 7\n", reader), 0);
    const boost::shared_ptr<SGprParam> earlier = reader.GetGprParam();

    EXPECT_EQ(reader.Load(dir.File("missing.HD")), GprParam::LoadCannotRead);
    EXPECT_EQ(reader.Load(dir.path()), GprParam::LoadCannotRead);
    EXPECT_EQ(LoadText(dir, "", reader), GprParam::LoadNotAHeader);
    EXPECT_EQ(LoadText(dir, "just\nsome text\nKEY = 1\n", reader), GprParam::LoadNotAHeader);
    EXPECT_EQ(LoadText(dir, std::string("NUMBER OF TRACES = 7\n\0\x01\xFF", 24), reader),
              GprParam::LoadNotAHeader);
    EXPECT_EQ(reader.Load(WriteFile(dir.File("a.HD"), "NUMBER OF TRACES = 7\n"), 1),
              GprParam::LoadUnknownStorage);
    // Exactly at the size limit is read; one byte more is not a header.
    std::string big = "NUMBER OF TRACES = 9\n";
    big.resize(GprParam::MaxHeaderBytes, ' ');
    EXPECT_EQ(LoadText(dir, big, reader), 0);
    EXPECT_EQ(reader.GetGprParam()->NumTraces, 9u);
    EXPECT_EQ(LoadText(dir, big + "\n", reader), GprParam::LoadTooLarge);

    // A failed load leaves an empty record and does not touch records handed out before.
    EXPECT_EQ(*reader.GetGprParam(), SGprParam());
    EXPECT_EQ(earlier->NumTraces, 7u);
}

TEST(GprParam, SavedHeaderLoadsBackEqual) {
    TempDir dir;
    SGprParam p;
    p.NumTraces = 4294967295u;
    p.SamplesPerTrace = 512;
    p.TimeZero = 1.0 / 3.0;
    p.TimeWindowNs = 0.1;
    p.SamplingIntervalNs = 1e-300;
    p.StartPosition = SMeasure(-2.5, 5);
    p.EndPosition = SMeasure(1234.000001, 5);
    p.StepSize = SMeasure(0.1, 5);
    p.FrequencyMHz = 250.0;
    p.AntennaSeparation = SMeasure(1.25, 5);
    p.PulserVoltage = 400.0;
    p.Stacks = 16;
    p.SurveyMode = "CMP = wide angle";
    p.OdometerTicksPerMetre = 1026.123456789;
    p.TraceStacking = "auto";
    for (const char* date : {"2024-05-21 13:04:05", "21 May 2024", "sometime in spring", ""}) {
        p.DateTime = date;
        GprParam writer;
        writer.SetGprParam(boost::make_shared<SGprParam>(p));
        const std::string path = dir.File("saved.HD");
        ASSERT_EQ(writer.Save(path), 0);
        GprParam reader;
        ASSERT_EQ(reader.Load(path), 0) << date;
        EXPECT_EQ(*reader.GetGprParam(), p) << date;
    }
    // Measures in another unit than the step size are written in the step size's unit.
    p.StartPosition = SMeasure(3.048, 1);
    GprParam writer;
    writer.SetGprParam(boost::make_shared<SGprParam>(p));
    ASSERT_EQ(writer.Save(dir.File("mixed.HD")), 0);
    GprParam reader;
    ASSERT_EQ(reader.Load(dir.File("mixed.HD")), 0);
    EXPECT_EQ(reader.GetGprParam()->StartPosition.unit, 5);
    EXPECT_DOUBLE_EQ(reader.GetGprParam()->StartPosition.value, 10.0);

    EXPECT_NE(writer.Save(dir.File("no/such/folder/x.HD")), 0);
}

}  // namespace
