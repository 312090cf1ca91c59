#pragma once
// The one way archive files are written: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target. A reader sees the old file or the new
// one, never a part; a failure leaves the old file whole.
#include <QByteArray>
#include <QString>
#include <string_view>

bool writeFileAtomically(const QString &path, const QByteArray &bytes);
bool writeFileAtomically(const QString &path, std::string_view bytes);
