#include "graphics/ImageFile.h"

#include "graphics/BmpWriter.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QImageWriter>

bool IsPngPath(const QString& path)
{
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

void WriteImageFile(const QString& path, const QImage& image)
{
    if (!IsPngPath(path)) {
        WriteBmpFile(path, image);
        return;
    }
    if (image.isNull())
        throw GcError(QStringLiteral("Cannot write an empty image as %1").arg(path));
    WriteFileUnsynced(path, [&image](QIODevice& out) {
        QImageWriter writer(&out, QByteArrayLiteral("png"));
        return writer.write(image);
    });
}
