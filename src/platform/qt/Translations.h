#pragma once

class QCoreApplication;

namespace zorneta {

// Loads Qt's Russian translation so standard buttons and dialogs speak
// Russian whatever the system locale. Returns whether it was found.
bool installRussianTranslation(QCoreApplication &app);

} // namespace zorneta
