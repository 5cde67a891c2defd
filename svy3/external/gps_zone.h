// UTM zone texts: a zone number from 1 to 60 followed by a latitude band letter, as in "17T".
#pragma once

#include <string>
#include <utility>

#include <boost/shared_ptr.hpp>

#include "svy3/platform/export.h"

namespace ZAR {

class SVY3_API CGps {
  public:
    // Reads a zone text: blanks around it are ignored, one blank may stand between the number
    // and the letter, the number has one or two digits ("7T", "07T", "17 t") and must lie in
    // 1..60, and the letter, in either case, must be a latitude band C to X other than I and O.
    // Gives (number, upper-case letter), or null when the text is not a zone ("", "0Z", "61C",
    // "17I", "17").
    static boost::shared_ptr<std::pair<int, char>> Zone(const std::string& text);

    // Writes a zone as text: the number in decimal without leading zero, then the upper-case
    // band letter ("17T"). A pair that Zone(text) would refuse (number outside 1..60, letter not
    // a band in either case) gives the empty text, which reads back as null.
    static std::string Zone(const std::pair<int, char>& zone);
    static std::string Zone(int number, char letter) {
        return Zone(std::make_pair(number, letter));
    }

    // The upper-case band letter when `letter` is a latitude band (C..X without I and O, either
    // case), else the zero character.
    static char BandLetter(char letter);
};

}  // namespace ZAR
