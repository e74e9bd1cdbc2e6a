#include <array>

#include "SystemFacts.h"
#include "Text.h"

namespace sysreport {

bool isSoftwareRenderer(const std::string& renderer) {
    static constexpr std::array kSoftware = {
        "llvmpipe",    "softpipe", "swrast", "software rasterizer", "microsoft basic render",
        "gdi generic", "lavapipe"};
    const std::string lower = asciiLower(renderer);
    for (const char* name : kSoftware) {
        if (lower.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string graphicsSummary(const GraphicsAdapter& adapter, const OpenGlFacts& openGl) {
    std::string text = adapter.name;
    auto append = [&text](const std::string& part) {
        if (!part.empty()) {
            text += text.empty() ? part : ", " + part;
        }
    };
    append(adapter.driver.empty() ? std::string() : "driver " + adapter.driver);
    if (!openGl.renderer.empty()) {
        std::string renderer = "OpenGL " + openGl.renderer;
        if (!openGl.version.empty()) {
            renderer += " " + openGl.version;
        }
        if (isSoftwareRenderer(openGl.renderer)) {
            renderer += " (SOFTWARE RENDERING)";
        }
        append(renderer);
    }
    return text.empty() ? "none could be read" : text;
}

}  // namespace sysreport
