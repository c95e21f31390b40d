// The file inside a stored value, as the record detail pane shows and saves it: an OLE object's
// inner object (with the file type its wrapper names), a BINARY value's bytes, an attachment.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "support/value.h"

namespace ui {

struct ObjectFile {
  QByteArray bytes;
  QString extension;  // without the dot; "bin" when nothing better is known
  QString name;       // an attachment's own file name, else empty
};

// The object of a long binary, binary or attachment value (the first attachment); none for
// other kinds and for empty values.
std::optional<ObjectFile> ObjectFileOf(const support::Value& value);

// The object as a picture through Qt's image readers (BMP and bare DIB, JPEG, PNG, GIF, ...);
// a null image when it is none.
QImage ObjectPicture(const ObjectFile& object);

}  // namespace ui
