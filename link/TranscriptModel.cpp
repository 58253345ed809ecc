#include "link/TranscriptModel.h"

#include <algorithm>

namespace {
// Large enough that the chunk list stays short, small enough that the spare
// room of the chunk being filled does not matter.
constexpr qsizetype ChunkBytes = 256 * 1024;
// A full list drops this share of its items at once: each drop moves the
// whole index, so it is rare, and the list stays close to its limit.
constexpr int DropShare = 64;

int evenAtLeastTwo(int count) {
    return std::max(2, count & ~1);
}
} // namespace

TranscriptModel::TranscriptModel(int maxItems, QObject* parent)
    : QAbstractListModel(parent), m_maxItems(evenAtLeastTwo(maxItems)),
      m_dropCount(evenAtLeastTwo(m_maxItems / DropShare)) {}

void TranscriptModel::Append(const QString& item) {
    if (rowCount() >= m_maxItems)
        dropOldest(m_dropCount);
    const QByteArray text = item.toUtf8();
    if (m_chunks.empty() ||
        m_chunks.back().Text.capacity() - m_chunks.back().Text.size() < text.size()) {
        if (!m_chunks.empty())
            m_chunks.back().Text.squeeze();
        Chunk chunk{int(m_offsets.size()), QByteArray()};
        chunk.Text.reserve(std::max(ChunkBytes, text.size()));
        m_chunks.push_back(std::move(chunk));
    }
    const int row = int(m_offsets.size());
    beginInsertRows(QModelIndex(), row, row);
    QByteArray& chunkText = m_chunks.back().Text;
    m_offsets.push_back(quint32(chunkText.size()));
    chunkText.append(text);
    endInsertRows();
}

// Chunks whose items all go are freed; the chunk holding the new first row
// keeps its text whole, and its items their offsets.
void TranscriptModel::dropOldest(int count) {
    beginRemoveRows(QModelIndex(), 0, count - 1);
    const auto firstKept = count < rowCount() ? chunkOf(count) : m_chunks.cend();
    m_chunks.erase(m_chunks.cbegin(), firstKept);
    m_offsets.erase(m_offsets.begin(), m_offsets.begin() + count);
    for (Chunk& chunk : m_chunks)
        chunk.FirstRow = std::max(0, chunk.FirstRow - count);
    endRemoveRows();
}

std::vector<TranscriptModel::Chunk>::const_iterator TranscriptModel::chunkOf(int row) const {
    const auto after =
        std::upper_bound(m_chunks.begin(), m_chunks.end(), row,
                         [](int r, const Chunk& chunk) { return r < chunk.FirstRow; });
    return after - 1;
}

QByteArrayView TranscriptModel::itemBytes(int row) const {
    const auto chunk = chunkOf(row);
    const int chunkEndRow = chunk + 1 == m_chunks.end() ? rowCount() : (chunk + 1)->FirstRow;
    const qsizetype begin = m_offsets[size_t(row)];
    const qsizetype end =
        row + 1 < chunkEndRow ? qsizetype(m_offsets[size_t(row) + 1]) : chunk->Text.size();
    return QByteArrayView(chunk->Text.constData() + begin, end - begin);
}

QString TranscriptModel::Item(int row) const {
    if (row < 0 || row >= rowCount())
        return QString();
    return QString::fromUtf8(itemBytes(row));
}

QByteArray TranscriptModel::ItemsText() const {
    qsizetype bytes = rowCount();
    for (const Chunk& chunk : m_chunks)
        bytes += chunk.Text.size();
    QByteArray text;
    text.reserve(bytes);
    for (int row = 0; row < rowCount(); ++row)
        text.append(itemBytes(row)).append('\n');
    return text;
}

qint64 TranscriptModel::StorageBytes() const {
    qint64 bytes =
        qint64(m_chunks.capacity() * sizeof(Chunk) + m_offsets.capacity() * sizeof(quint32));
    for (const Chunk& chunk : m_chunks)
        bytes += chunk.Text.capacity();
    return bytes;
}

int TranscriptModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_offsets.size());
}

QVariant TranscriptModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.parent().isValid())
        return QVariant();
    return Item(index.row());
}
