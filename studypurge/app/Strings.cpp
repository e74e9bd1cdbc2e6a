#include "Strings.h"

namespace spapp {

std::string loadString(int id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return "&About studypurge...";
        case IDS_FILE_NOT_FOUND:
            return "Simulation file is not found, pleease check input file pathname.";
        case IDS_CLEANED:
            return "Success - Simulation data is cleaned from the file for selected simulation "
                   "product(s).";
        case IDS_NO_FILE:
            return "Please select a PLANDRY file before clicking this button";
        case IDS_NO_PRODUCT:
            return "Please select a Simulation Product name before clicking this button";
        case IDS_FILE_FILTER:
            return "PLANDRY Files (*.pldprt;*.pldasm)|*.pldprt;*.pldasm|PLANDRY Part Files "
                   "(*.pldprt)|*.pldprt|PLANDRY Assembly Files (*.pldasm)|*.pldasm||";
        default:
            return {};
    }
}

std::string openFileFilter() {
    std::string filter = loadString(IDS_FILE_FILTER);
    return filter.empty() ? std::string(kFallbackFilter) : filter;
}

}  // namespace spapp
