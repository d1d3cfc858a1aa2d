// Qt's own texts (file and folder dialogs, standard buttons) in the UI
// language, from the Qt translations installed on the system.
#pragma once

#include <QString>

namespace vt::shell {

// Uses Qt's translations for the locale ("de", "fr_CA"); English, an empty
// locale or one without installed translations leaves Qt's own English.
void UseStandardDialogLanguage(const QString &locale);

} // namespace vt::shell
