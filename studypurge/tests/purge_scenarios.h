#pragma once
// Whole-document purge scenarios shared by the tests of the two real storage back ends.
// A tree is a list of element paths; a trailing slash marks a storage, parents come
// before their children.

#include <algorithm>
#include <string>
#include <vector>

#include "purge_fakes.h"

namespace purge::scenarios {

struct Ticks {
    bool simulation = false, quiklet = false, flow = false, motion = false, sustainability = false;
    void applyTo(fakes::FakeDialog& dialog) const {
        dialog.simulation = simulation;
        dialog.quiklet = quiklet;
        dialog.flow = flow;
        dialog.motion = motion;
        dialog.sustainability = sustainability;
    }
};

struct Scenario {
    const char* label;
    std::vector<std::string> tree;
    Ticks ticks;
    std::vector<std::string> remaining;
    bool success;
};

inline std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

inline const std::vector<Scenario>& AllScenarios() {
    static const std::vector<Scenario> scenarios = {
        {"SimulationAndMotion",
         {"Contents",
          "ThirdPtyStore/",
          "ThirdPtyStore/Korworks/",
          "ThirdPtyStore/Korworks/study1",
          "ThirdPtyStore/KorworksCommon/",
          "ThirdPtyStore/KorworksCommon/x",
          "ThirdPtyStore/KorvexQuiklet/",
          "ThirdPtyStore/KorvexQuiklet/q",
          "ThirdPtyStore/MDI_DDMPL",
          "ThirdPtyStore/KMMotionLoadMapU",
          "ThirdPtyStore/xKM_MOTION_LOAD_7",
          "ThirdPtyStore/yKM_MOTION_LOAD_8/",
          "ThirdPtyStore/yKM_MOTION_LOAD_8/inner",
          "ThirdPtyStore/km_motion_load_3",
          "ThirdPtyStore/SUSTAINABILITY2010FULL",
          "ThirdPty/",
          "ThirdPty/Korworks/",
          "ThirdPty/Korworks/s",
          "ThirdPty/KM_MOTION_LOAD_1",
          "ThirdPty/Animator__ZLB",
          "ThirdPty/other"},
         {true, false, false, true, false},
         {"Contents", "ThirdPtyStore/", "ThirdPtyStore/KorworksCommon/",
          "ThirdPtyStore/KorworksCommon/x", "ThirdPtyStore/KorvexQuiklet/",
          "ThirdPtyStore/KorvexQuiklet/q", "ThirdPtyStore/yKM_MOTION_LOAD_8/",
          "ThirdPtyStore/yKM_MOTION_LOAD_8/inner", "ThirdPtyStore/km_motion_load_3",
          "ThirdPtyStore/SUSTAINABILITY2010FULL", "ThirdPty/", "ThirdPty/other"},
         true},
        {"QuikletFlowAndSustainability",
         {"Contents", "ThirdPtyStore/", "ThirdPtyStore/KorvexQuiklet/",
          "ThirdPtyStore/KorvexQuiklet/q", "ThirdPtyStore/0994155B-AA3F-4edb-AC0E-F92608/",
          "ThirdPtyStore/0994155B-AA3F-4edb-AC0E-F92608/f",
          "ThirdPtyStore/32952DE6-9CEC-411d-83A6-BAAF76", "ThirdPtyStore/SUSTAINABILITY2010FULL",
          "ThirdPty/", "ThirdPty/SUSTAINABILITY2010FULL", "ThirdPty/KorvexQuiklet/"},
         {false, true, true, false, true},
         {"Contents", "ThirdPtyStore/", "ThirdPty/"},
         true},
        {"SustainabilityOnlyLeavesThirdPtyStore",
         {"ThirdPtyStore/", "ThirdPtyStore/SUSTAINABILITY2010FULL", "ThirdPty/",
          "ThirdPty/SUSTAINABILITY2010FULL", "ThirdPty/Korworks/"},
         {false, false, false, false, true},
         {"ThirdPtyStore/", "ThirdPtyStore/SUSTAINABILITY2010FULL", "ThirdPty/",
          "ThirdPty/Korworks/"},
         true},
        {"NoAddinArea",
         {"Contents", "Korworks/", "Korworks/s"},
         {true, true, true, true, true},
         {"Contents", "Korworks/", "Korworks/s"},
         false},
    };
    return scenarios;
}

}  // namespace purge::scenarios
