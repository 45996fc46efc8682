#include "util/Hash.h"

#include <QCryptographicHash>

namespace tessel {

std::string ContentHash(ByteView data) {
  const QByteArray digest = QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(data.data()),
                     static_cast<qsizetype>(data.size())),
      QCryptographicHash::Sha256);
  return digest.toHex().toStdString();
}

}  // namespace tessel
