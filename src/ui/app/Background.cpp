#include "ui/app/Background.h"

#include "core/store/ProgramSettings.h"
#include "ui/app/Session.h"

namespace cs42 {

Background::Background(Session& session, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("Background"));
    setWindowTitle(ProgramSettings::ShortTitle);
    resize(ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowWidth + 500),
           ProgramSettings::twipsToPixels(ProgramSettings::ChildWindowHeight + 1000));
}

} // namespace cs42
