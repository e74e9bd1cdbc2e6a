#include "OpenGlProbe.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <optional>

namespace sysreport {
namespace {

std::string glText(QOpenGLFunctions* functions, GLenum name) {
    const auto* text = reinterpret_cast<const char*>(functions->glGetString(name));
    return text != nullptr ? std::string(text) : std::string();
}

OpenGlFacts readOpenGl() {
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
        return {};
    }
    QOpenGLFunctions* functions = context.functions();
    OpenGlFacts facts{glText(functions, GL_RENDERER), glText(functions, GL_VERSION)};
    context.doneCurrent();
    return facts;
}

}  // namespace

OpenGlFacts probeOpenGl() {
    static const OpenGlFacts facts = readOpenGl();
    return facts;
}

}  // namespace sysreport
