// HelpManual: where the HTML user manual lies and which section explains a keyword.
#pragma once

#include <string>

// The manual is help/index.html with one section per topic and per menu command; every
// section carries an anchor (the command's object name, or a topic name such as "encoding").
class HelpManual {
public:
    // The manual's index page: help/ in the program folder (a portable install, tests), then
    // help/ beside the executable (the build tree), then share/vexil/help/ of the installation
    // prefix the executable lies in. "" when none exists.
    static std::string locate(const std::string& programFolder, const std::string& executablePath);
    // Anchor of the section for a keyword: an object name or anchor is taken as it is (letters,
    // digits, '_' and '-'), a Japanese keyword is looked up; "" (the start of the manual) when
    // nothing matches.
    static std::string anchorFor(const std::string& keyword);
    // True when the page at `indexPath` has an element with that id (or a link target of that
    // name); a keyword whose section is not in the installed manual is not offered.
    static bool hasSection(const std::string& indexPath, const std::string& anchor);
    // "file:///...index.html#anchor" for the index page and a keyword (without "#" when the
    // keyword names no section); path bytes other than letters, digits and "/-._~" are
    // percent-encoded.
    static std::string urlFor(const std::string& indexPath, const std::string& keyword);
};
