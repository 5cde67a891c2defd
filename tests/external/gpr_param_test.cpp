#include "svy3/external/gpr_param.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/test_support.h"
#include "support/writer_support.h"

namespace {

using std::make_tuple;
using std::string;
using svy3_test::WriteFile;
using ZAR::GprParam;
using ZAR::SGprParam;
using ZAR::SMeasure;

class GprParamTest : public ::testing::Test {
  protected:
    // Loads `text` written to a header file; returns the Load result.
    int LoadText(const string& text) { return reader.Load(WriteFile(dir.File("LINE01.HD"), text)); }
    const SGprParam& Read() const { return *reader.GetGprParam(); }

    svy3_test::TempDir dir;
    GprParam reader;
};

TEST_F(GprParamTest, ReadsAHandEditedHeader) {
    ASSERT_EQ(LoadText("1234\r\nData Collected with a test rig\r\n2024-05-21\r\n"
                       "NUMBER OF TRACES   = 421\r\n"
                       "number  of\tpts/trc=500\r\n"
                       "  TimeZero at Point =  12.5  \r\n"
                       "TOTAL TIME WINDOW = 100\r\n"
                       "STARTING POSITION = 1.5\r\nFINAL POSITION = 22.5\r\n"
                       "STEP SIZE USED = 0.05\r\nNOMINAL FREQUENCY = 250.00\r\n"
                       "ANTENNA SEPARATION = 0.38\r\nPULSER VOLTAGE (V) = 190\r\n"
                       "NUMBER OF STACKS = 4\r\nSURVEY MODE = Reflection\r\n"
                       "Odometer Calibration (t/m) = 1026.2\r\n"
                       "SOME VENDOR KEY = whatever = 3\r\na stray remark\r\n"
                       "POSITION UNITS = metres\r\n"),
              0);
    const SGprParam& p = Read();
    EXPECT_EQ(make_tuple(p.NumTraces, p.SamplesPerTrace, p.Stacks), make_tuple(421u, 500u, 4u));
    // The sampling interval is window / samples.
    EXPECT_EQ(make_tuple(p.TimeZero, p.TimeWindowNs, p.SamplingIntervalNs, p.FrequencyMHz,
                         p.PulserVoltage, p.OdometerTicksPerMetre),
              make_tuple(12.5, 100.0, 0.2, 250.0, 190.0, 1026.2));
    // Units come after the measures in the file and still apply to them.
    EXPECT_EQ(
        make_tuple(p.StartPosition, p.EndPosition, p.StepSize, p.AntennaSeparation),
        make_tuple(SMeasure(1.5, 1), SMeasure(22.5, 1), SMeasure(0.05, 1), SMeasure(0.38, 1)));
    EXPECT_EQ(make_tuple(p.SurveyMode, p.TraceStacking, p.DateTime),
              make_tuple(string("Reflection"), string(""), string("2024-05-21")));
}

TEST_F(GprParamTest, MissingKeysExplicitIntervalRepeatedKeysAndTheDateLine) {
    ASSERT_EQ(LoadText("NUMBER OF PTS/TRC = 0\nTOTAL TIME WINDOW = 50\n"), 0);
    SGprParam expected;  // no division by zero samples: the interval stays 0
    expected.TimeWindowNs = 50.0;
    EXPECT_EQ(Read(), expected);

    ASSERT_EQ(LoadText("NUMBER OF PTS/TRC = 400\nTOTAL TIME WINDOW = 50\nSAMPLING INTERVAL = 0.1\n"
                       "TRACE STACKING = 8 auto\nPOSITION UNITS = FT\nSTEP SIZE USED = 0.5\n"
                       "STEP SIZE USED = 0.25\n"),
              0);
    // The last value of a repeated key counts.
    EXPECT_EQ(make_tuple(Read().SamplingIntervalNs, Read().TraceStacking, Read().DateTime,
                         Read().StepSize, Read().StartPosition),
              make_tuple(0.1, string("8 auto"), string(""), SMeasure(0.25, 5), SMeasure(0.0, 5)));

    // The date line is one of the first three; a DATE key wins over it.
    ASSERT_EQ(LoadText("not a date 12\n\nb\n\nc\n2024-05-21\nNUMBER OF TRACES = 1\n"), 0);
    EXPECT_EQ(Read().DateTime, "");  // a fourth non-blank line is no date line
    ASSERT_EQ(LoadText("title\r21-May-2024 13:04:05\rNUMBER OF TRACES = 1\r"), 0);
    EXPECT_EQ(Read().DateTime, "21-May-2024 13:04:05");  // lone CR line ends
    ASSERT_EQ(LoadText("2024-05-21\nDATE = 2023-01-02\nNUMBER OF TRACES = 1\n"), 0);
    EXPECT_EQ(Read().DateTime, "2023-01-02");
}

TEST_F(GprParamTest, BadNumbersAreReadAsLeadingNumbersOrZero) {
    ASSERT_EQ(
        LoadText("TOTAL TIME WINDOW = 1e999\nTIMEZERO AT POINT = nan\nNOMINAL FREQUENCY = inf\n"
                 "PULSER VOLTAGE (V) = 12abc\nNUMBER OF TRACES = -5\n"
                 "NUMBER OF PTS/TRC = 4294967296\nNUMBER OF STACKS = 32.0\n"
                 "STEP SIZE USED = \nSTARTING POSITION = ,5\nFINAL POSITION = -1.5e3\n"),
        0);
    const SGprParam& p = Read();
    EXPECT_EQ(make_tuple(p.TimeWindowNs, p.TimeZero, p.FrequencyMHz, p.PulserVoltage),
              make_tuple(0.0, 0.0, 0.0, 12.0));
    EXPECT_EQ(make_tuple(p.NumTraces, p.SamplesPerTrace, p.Stacks), make_tuple(0u, 0u, 32u));
    // No POSITION UNITS: no unit.
    EXPECT_EQ(make_tuple(p.StepSize, p.StartPosition, p.EndPosition),
              make_tuple(SMeasure(0.0, 0), SMeasure(0.0, 0), SMeasure(-1500.0, 0)));
}

TEST_F(GprParamTest, FilesThatAreNotHeaders) {
    ASSERT_EQ(LoadText("NUMBER OF TRACES = 7\n"), 0);
    const boost::shared_ptr<SGprParam> earlier = reader.GetGprParam();

    EXPECT_EQ(reader.Load(dir.File("missing.HD")), GprParam::LoadCannotRead);
    EXPECT_EQ(reader.Load(dir.path()), GprParam::LoadCannotRead);
    EXPECT_EQ(LoadText(""), GprParam::LoadNotAHeader);
    EXPECT_EQ(LoadText("just\nsome text\nKEY = 1\n"), GprParam::LoadNotAHeader);
    EXPECT_EQ(LoadText(string("NUMBER OF TRACES = 7\n\0\x01\xFF", 24)), GprParam::LoadNotAHeader);
    EXPECT_EQ(reader.Load(WriteFile(dir.File("a.HD"), "NUMBER OF TRACES = 7\n"), 1),
              GprParam::LoadUnknownStorage);
    // Exactly at the size limit is read; one byte more is not a header.
    string big = "NUMBER OF TRACES = 9\n";
    big.resize(GprParam::MaxHeaderBytes, ' ');
    EXPECT_EQ(LoadText(big), 0);
    EXPECT_EQ(Read().NumTraces, 9u);
    EXPECT_EQ(LoadText(big + "\n"), GprParam::LoadTooLarge);

    // A failed load leaves an empty record and does not touch records handed out before.
    EXPECT_EQ(Read(), SGprParam());
    EXPECT_EQ(earlier->NumTraces, 7u);
}

TEST_F(GprParamTest, SavedHeaderLoadsBackEqual) {
    // Every field set; numbers that need every digit to read back exactly.
    SGprParam p;
    p.NumTraces = 4294967295u, p.SamplesPerTrace = 512, p.Stacks = 16;
    p.TimeZero = 1.0 / 3.0, p.TimeWindowNs = 0.1, p.SamplingIntervalNs = 1e-300;
    p.StartPosition = SMeasure(-2.5, 5), p.EndPosition = SMeasure(1234.000001, 5);
    p.StepSize = SMeasure(0.1, 5), p.AntennaSeparation = SMeasure(1.25, 5);
    p.FrequencyMHz = 250.0, p.PulserVoltage = 400.0, p.OdometerTicksPerMetre = 1026.123456789;
    p.SurveyMode = "CMP = wide angle", p.TraceStacking = "auto";
    const string path = dir.File("saved.HD");
    auto saveAndLoad = [&] {
        svy3_test::SaveHeader(path, p);
        EXPECT_EQ(reader.Load(path), 0);
        return Read();
    };
    // The date goes to the date line when it reads as a date, to a DATE key otherwise.
    for (const char* date : {"2024-05-21 13:04:05", "21 May 2024", "sometime in spring", ""}) {
        p.DateTime = date;
        EXPECT_EQ(saveAndLoad(), p) << date;
    }
    // Measures in another unit than the step size are written in the step size's unit.
    p.StartPosition = SMeasure(3.048, 1);
    const SMeasure start = saveAndLoad().StartPosition;
    EXPECT_EQ(start.unit, 5);
    EXPECT_DOUBLE_EQ(start.value, 10.0);

    EXPECT_NE(GprParam().Save(dir.File("no/such/folder/x.HD")), 0);
}

}  // namespace
