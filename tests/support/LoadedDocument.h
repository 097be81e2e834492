#pragma once

#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "profile/Profile.h"

namespace kestrel {

// A document loaded from a profile as the window loads it at start, for
// fixtures that hold one as a member.
struct LoadedDocument : CBarCodeDoc {
    LoadedDocument(const Profile& profile, WorkingGaps& gaps) { Load(profile, gaps); }
};

}  // namespace kestrel
