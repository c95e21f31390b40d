// ObjectFileOf and ObjectPicture.
#include "ui/object_file.h"

#include <QtEndian>

namespace ui {

namespace {
constexpr int kBitmapFileHeaderSize = 14;
constexpr quint32 kBitmapInfoHeaderSize = 40;

QByteArray bytesOf(const std::vector<uint8_t>& bytes, size_t offset, size_t length) {
  if (offset > bytes.size()) return {};
  length = std::min(length, bytes.size() - offset);
  return QByteArray(reinterpret_cast<const char*>(bytes.data() + offset), static_cast<qsizetype>(length));
}

// A bare device-independent bitmap (what picture objects often hold) gets the file header that
// the BMP reader expects in front of it.
QByteArray withBitmapFileHeader(const QByteArray& dib) {
  if (dib.size() < static_cast<qsizetype>(kBitmapInfoHeaderSize)) return {};
  const auto* data = reinterpret_cast<const uchar*>(dib.constData());
  if (qFromLittleEndian<quint32>(data) != kBitmapInfoHeaderSize) return {};
  const quint16 bitCount = qFromLittleEndian<quint16>(data + 14);
  quint32 colours = qFromLittleEndian<quint32>(data + 32);
  if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
  const quint32 compression = qFromLittleEndian<quint32>(data + 16);
  const quint32 masks = compression == 3 ? 12 : 0;  // BI_BITFIELDS
  const quint32 pixelsAt = kBitmapFileHeaderSize + kBitmapInfoHeaderSize + masks + 4 * colours;
  QByteArray file(kBitmapFileHeaderSize, '\0');
  auto* header = reinterpret_cast<uchar*>(file.data());
  header[0] = 'B';
  header[1] = 'M';
  qToLittleEndian<quint32>(static_cast<quint32>(kBitmapFileHeaderSize + dib.size()), header + 2);
  qToLittleEndian<quint32>(pixelsAt, header + 10);
  return file + dib;
}
}  // namespace

std::optional<ObjectFile> ObjectFileOf(const support::Value& value) {
  ObjectFile object;
  switch (value.kind) {
    case support::ValueKind::kLongBinary:
      if (value.object.wrapped) {
        object.bytes = bytesOf(value.bytes, value.object.innerOffset, value.object.innerLength);
        object.extension = QString::fromStdString(value.object.extension);
      } else {
        object.bytes = bytesOf(value.bytes, 0, value.bytes.size());
        object.extension = "ole";
      }
      break;
    case support::ValueKind::kBinary:
      object.bytes = bytesOf(value.bytes, 0, value.bytes.size());
      object.extension = "bin";
      break;
    case support::ValueKind::kAttachments: {
      if (value.attachments.empty()) return std::nullopt;
      const support::Attachment& file = value.attachments.front();
      object.bytes = bytesOf(file.data, 0, file.data.size());
      object.name = QString::fromStdString(file.name);
      object.extension = QString::fromStdString(file.type).toLower();
      break;
    }
    default: return std::nullopt;
  }
  if (object.bytes.isEmpty()) return std::nullopt;
  if (object.extension.isEmpty()) object.extension = "bin";
  return object;
}

QImage ObjectPicture(const ObjectFile& object) {
  QImage picture = QImage::fromData(object.bytes);
  if (picture.isNull()) picture = QImage::fromData(withBitmapFileHeader(object.bytes), "BMP");
  return picture;
}

}  // namespace ui
