#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>
#include <vector>

// The on-screen transcript: a list that only grows, meant to hold millions
// of items. Texts are kept as UTF-8, packed one after the other in large
// chunks, with one 32-bit offset per item, so an item costs little beyond
// its text.
class TranscriptModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void Append(const QString& item);
    QString Item(int row) const;
    // Bytes held for the texts and the index, spare capacity included.
    qint64 StorageBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // Consecutive items packed in one buffer; a full chunk is trimmed to its size.
    struct Chunk {
        int FirstRow;
        QByteArray Text;
    };

    std::vector<Chunk>::const_iterator chunkOf(int row) const;

    std::vector<Chunk> m_chunks;
    std::vector<quint32> m_offsets; // start of each item inside its chunk
};
