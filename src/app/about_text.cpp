#include "app/about_text.h"

#include <QStringList>

namespace mt {

QString AboutText(const QString& version) {
    const QStringList lines = {
        QStringLiteral("MacTarnwick ") + version,
        QString(),
        QStringLiteral("Design and code: the MacTarnwick developers"),
        QStringLiteral("For the editors, assistants and archivists of Avid media"),
        QStringLiteral("Built with Qt 6 and the C++ standard library"),
        QStringLiteral("Thanks to everyone who lent us a media drive to try it on"),
    };
    return lines.join(QLatin1Char('\n'));
}

}  // namespace mt
