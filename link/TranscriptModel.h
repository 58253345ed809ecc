#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// The on-screen transcript: a list that grows at its end, meant to hold a
// million items. Texts are kept as UTF-8, packed one after the other in
// large chunks, with one 32-bit offset per item, so an item costs little
// beyond its text.
//
// Items come in pairs (each answer is two items). Once the list holds
// MaxItems, the oldest items are dropped, an even number at a time and many
// at once, so that an append stays cheap and no answer is left half shown.
class TranscriptModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int DefaultMaxItems = 1000000;

    // maxItems is taken as an even number of at least 2.
    explicit TranscriptModel(int maxItems = DefaultMaxItems, QObject* parent = nullptr);

    void Append(const QString& item);
    QString Item(int row) const;
    // Every item's own text, each followed by LF, in UTF-8: what "Copy all"
    // and "Save as" give. Not the one-line form the list shows: a copy or a
    // file is read and compared elsewhere, so an answer keeps the characters
    // the sensor sent (its CR LF among them) rather than the marks that stand
    // for them on screen; the hex item after it spells out every byte. LF is
    // the line end of this system's text files and clipboard.
    QByteArray ItemsText() const;
    int MaxItems() const { return m_maxItems; }
    // Bytes held for the texts and the index, spare capacity included.
    qint64 StorageBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // Consecutive items packed in one buffer; a full chunk is trimmed to its
    // size. The first chunk may still hold the texts of dropped items before
    // its first row.
    struct Chunk {
        int FirstRow;
        QByteArray Text;
    };

    std::vector<Chunk>::const_iterator chunkOf(int row) const;
    QByteArrayView itemBytes(int row) const;
    void dropOldest(int count);

    int m_maxItems;
    int m_dropCount; // items dropped at once when the list is full
    std::vector<Chunk> m_chunks;
    std::vector<quint32> m_offsets; // start of each item inside its chunk
};
