// Puts the program folder's skin on the running test application.
#pragma once

#include "app/widgets/skin.h"

#include <QApplication>
#include <QTest>

namespace vt {

inline void applyTestSkin()
{
    QString binDir = qEnvironmentVariable("VANTOREL_BIN_DIR", QStringLiteral(VANTOREL_BIN_DIR));
    QVERIFY2(Skin::current().load(binDir + QStringLiteral("/Skin/")), qPrintable(Skin::current().errorString()));
    Skin::current().apply(*qApp);
}

} // namespace vt
