#pragma once

#include <QApplication>
#include <QtTest>

#include <unistd.h>

// Every test runs headless by itself: no display needed, and the browser
// engine's sandbox is off when we run as root (it refuses to start otherwise).
inline void pictorraPrepareTestEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

#define PICTORRA_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char *argv[])                                                       \
    {                                                                                      \
        pictorraPrepareTestEnvironment();                                                  \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                        \
        QApplication app(argc, argv);                                                      \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        TestClass test;                                                                    \
        QTEST_SET_MAIN_SOURCE_PATH                                                         \
        return QTest::qExec(&test, argc, argv);                                            \
    }
