#pragma once

#include <string>

namespace kestrel {

class CBarCodeDoc;
class Profile;
struct WorkingGaps;

// What the one application holds for its whole run: the profile, the two
// working gaps of the options sheet and the one document. Made in main().
struct ApplicationContext {
    Profile& profile;
    WorkingGaps& gaps;
    CBarCodeDoc& doc;
    std::string programPath;  // as the file system spells it (not code page 932)
};

}  // namespace kestrel
