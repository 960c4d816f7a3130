#include "support/ExifTags.h"

#include <QString>
#include <libexif/exif-data.h>

std::map<std::string, QByteArray> ExifTags(const QByteArray& exif)
{
    ExifData* data = exif_data_new();
    // As it stands: libexif neither adds the entries the standard asks for nor drops unknown ones.
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data, EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_load_data(data, reinterpret_cast<const unsigned char*>(exif.constData()), unsigned(exif.size()));
    std::map<std::string, QByteArray> tags;
    for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd) {
        const auto add = [](ExifEntry* entry, void* into) {
            const QString key = QStringLiteral("%1 %2").arg(exif_ifd_get_name(exif_content_get_ifd(entry->parent)))
                                    .arg(entry->tag, 4, 16, QLatin1Char('0'));
            (*static_cast<std::map<std::string, QByteArray>*>(into))[key.toStdString()] =
                QByteArray(reinterpret_cast<const char*>(entry->data), qsizetype(entry->size));
        };
        exif_content_foreach_entry(data->ifd[ifd], add, &tags);
    }
    if (data->size > 0)
        tags["thumbnail"] = QByteArray(reinterpret_cast<const char*>(data->data), qsizetype(data->size));
    exif_data_unref(data);
    return tags;
}
