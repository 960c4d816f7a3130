#pragma once
#include "core/document/Document.h"
#include "support/Controls.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// A document with default settings whose settings file would go to a temporary folder, so
// nothing a test stores reaches the user's own.
class TemporaryDocument {
protected:
    // `bytes` as `name` in the temporary folder; its path.
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    QTemporaryDir folder;
    Document document{[this] {
        SettingsRecord settings;
        settings.IniPath = folder.filePath(QStringLiteral("Layerpix.ini"));
        return settings;
    }()};
    SettingsRecord& settings = document.Settings;
};
