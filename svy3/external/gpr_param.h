// Acquisition parameters of one radar data file, read from (and written to) its plain-text ".HD"
// header.
//
// Header form: lines "KEY = VALUE". Keys are compared without regard to letter case and to runs
// of blanks (so "number  of traces=12" is NUMBER OF TRACES); blanks around "=" and the value are
// ignored; lines may end in LF, CR LF or CR; blank lines, unknown keys and other lines are
// skipped; a key given twice takes its last value. Among the first three non-blank lines, the
// first line without "=" that CDateTime::ParseDateTime accepts is the acquisition date (a DATE key
// wins over it).
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

#include "svy3/external/measure.h"
#include "svy3/platform/export.h"

namespace ZAR {

// The acquisition parameters of a header. Fields whose key is missing or unreadable stay 0 or
// empty. Numbers are read from the start of the value as atof/atoi do ("12abc" is 12, a value
// without a leading number is 0); values that are not finite ("nan", "inf", "1e999") count as
// unreadable. Counts take the leading digits of the value ("32.0" is 32) and are unreadable
// when negative or beyond 4294967295.
struct SVY3_API SGprParam {
    uint32_t NumTraces = 0;        // NUMBER OF TRACES
    uint32_t SamplesPerTrace = 0;  // NUMBER OF PTS/TRC
    double TimeZero = 0.0;         // TIMEZERO AT POINT, in samples
    double TimeWindowNs = 0.0;     // TOTAL TIME WINDOW
    // SAMPLING INTERVAL; when missing or not above 0, TimeWindowNs / SamplesPerTrace (0 when
    // there are no samples).
    double SamplingIntervalNs = 0.0;
    SMeasure StartPosition;              // STARTING POSITION, in POSITION UNITS
    SMeasure EndPosition;                // FINAL POSITION, in POSITION UNITS
    SMeasure StepSize;                   // STEP SIZE USED, in POSITION UNITS
    double FrequencyMHz = 0.0;           // NOMINAL FREQUENCY
    SMeasure AntennaSeparation;          // ANTENNA SEPARATION, in POSITION UNITS
    double PulserVoltage = 0.0;          // PULSER VOLTAGE (V)
    uint32_t Stacks = 0;                 // NUMBER OF STACKS
    std::string SurveyMode;              // SURVEY MODE
    double OdometerTicksPerMetre = 0.0;  // ODOMETER CALIBRATION (T/M)
    std::string TraceStacking;           // TRACE STACKING (optional)
    std::string DateTime;                // DATE, else the date line

    // Every field equal (measures by value and unit code).
    bool operator==(const SGprParam& other) const;
    bool operator!=(const SGprParam& other) const { return !(*this == other); }
};

// Reader and writer of one header; holds the shared record of the last load.
class SVY3_API GprParam {
  public:
    // Results of Load.
    enum LoadResult {
        LoadOk = 0,
        LoadCannotRead = 1,      // missing, not a regular file, or unreadable
        LoadTooLarge = 2,        // more than MaxHeaderBytes bytes
        LoadNotAHeader = 3,      // empty, holds a NUL byte, or no recognised key at all
        LoadUnknownStorage = 4,  // storageType other than 0
    };
    // Results of Save.
    enum SaveResult { SaveOk = 0, SaveCannotWrite = 1 };

    // Headers are small; a larger file is not read and is not a header.
    static constexpr std::size_t MaxHeaderBytes = 1024 * 1024;

    // Starts with an empty record (every field 0 or empty).
    GprParam();

    // Reads the header at `path`. `storageType` 0 is the plain-text header file, the only kind
    // supported. On every call the held record is replaced by a new one, so records handed out
    // before keep their values; after a failure the new record is empty. Returns LoadOk (0) when
    // the header was read, another LoadResult otherwise.
    int Load(const std::string& path, int storageType = 0);

    // The record of the last Load (never null).
    boost::shared_ptr<SGprParam> GetGprParam() const { return m_param; }
    // Replaces the held record (null is ignored); used to write a header with Save.
    void SetGprParam(const boost::shared_ptr<SGprParam>& param);

    // Writes the held record as a header at `path` (CR LF line ends) that Load reads back to an
    // equal record (a zero sampling interval reads back as the derived one): numbers in the
    // shortest form that reads back exactly, the date as the date line when it reads as a date and
    // as a DATE key otherwise, POSITION UNITS as the symbol of the step size's unit. Measures in
    // another unit than the step size are converted to it. Text fields are written trimmed, with
    // line breaks turned into blanks. Returns SaveOk (0) when written.
    int Save(const std::string& path) const;

  private:
    boost::shared_ptr<SGprParam> m_param;
};

}  // namespace ZAR
