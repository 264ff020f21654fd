#pragma once

#include <QtTest>

// Each test process has settings and temporary directories of its own, apart from the user's.
// They are kept in memory where the machine has room: most tests unpack the game's assets anew,
// and on a disk creating those files is most of a test's time.
struct IsolatedEnvironment {
    QTemporaryDir root{inMemory() ? QStringLiteral("/dev/shm/lotaro-test-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/lotaro-test-XXXXXX")};
    static bool inMemory()
    {
        const QStorageInfo shm(QStringLiteral("/dev/shm"));
        return shm.fileSystemType() == "tmpfs" && shm.bytesAvailable() > (qint64(512) << 20) &&
               QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    }
    IsolatedEnvironment()
    {
        qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/data")).toUtf8());
        qputenv("TMPDIR", (root.path() + QStringLiteral("/tmp")).toUtf8());
        QDir(root.path()).mkpath(QStringLiteral("tmp"));
        QLocale::setDefault(QLocale::c());
    }
};

#define LOTARO_TEST_MAIN(TestClass, AppClass)                                                      \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        IsolatedEnvironment environment;                                                           \
        AppClass app(argc, argv);                                                                  \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
