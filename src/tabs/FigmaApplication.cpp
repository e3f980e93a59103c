#include "tabs/FigmaApplication.h"

bool isFigma(const RunningApplication &application) {
    return application.hasIdentifier(QStringLiteral("Figma")) ||
           application.hasIdentifier(QStringLiteral("com.figma.Desktop"));
}
