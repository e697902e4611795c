#include "app/recovery/WorkPicture.h"

#include "app/recovery/SealedFile.h"

namespace app::recovery {

namespace {

void putQString(PayloadWriter& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    out.putText(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString getQString(PayloadReader& in)
{
    const std::string_view utf8 = in.getText();
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void check(bool sound)
{
    if (!sound)
        throw Unreadable(Unreadable::Why::Damaged);
}

} // namespace

std::string encodedPicture(const WorkPicture& picture)
{
    PayloadWriter out;
    out.put(picture.takenAt);
    for (const QString& field : picture.fields)
        putQString(out, field);
    out.put(picture.countColour);
    putQString(out, picture.memo);
    out.put<std::uint8_t>(picture.renumberShown ? 1 : 0);
    out.put<std::int32_t>(picture.genreColumns);
    out.put<std::uint64_t>(picture.genreCells.size());
    for (const std::string& cell : picture.genreCells)
        out.putText(cell);
    out.putText(picture.rangeLow);
    out.putText(picture.rangeHigh);
    out.put(picture.monFileCount);
    out.put(picture.insertBlankLines);
    putQString(out, picture.bankPath);
    out.putArray(picture.columnWidths);

    const widgets::TableMakeup& table = picture.table;
    out.put<std::int32_t>(table.columns);
    out.put<std::uint64_t>(table.blocks.size());
    for (std::size_t b = 0; b < table.blocks.size(); ++b) {
        out.put(picture.blockIds[b]);
        out.put<std::int32_t>(table.blocks[b].width);
        out.putArray(table.blocks[b].shown);
    }
    out.putArray(table.rows);
    std::vector<std::uint64_t> ends(table.ends.begin(), table.ends.end());
    out.putArray(ends);
    out.putText(table.bytes);
    return sealed(FileKind::State, out.bytes());
}

WorkPicture decodedPicture(std::string_view file)
{
    PayloadReader in(unsealed(FileKind::State, file));
    WorkPicture picture;
    picture.takenAt = in.get<std::int64_t>();
    for (QString& field : picture.fields)
        field = getQString(in);
    picture.countColour = in.get<std::uint32_t>();
    picture.memo = getQString(in);
    picture.renumberShown = in.get<std::uint8_t>() != 0;
    picture.genreColumns = in.get<std::int32_t>();
    const auto genreCells = in.get<std::uint64_t>();
    check(genreCells <= 4096 && picture.genreColumns > 0 && genreCells % static_cast<std::uint64_t>(picture.genreColumns) == 0);
    for (std::uint64_t i = 0; i < genreCells; ++i)
        picture.genreCells.emplace_back(in.getText());
    picture.rangeLow = in.getText();
    picture.rangeHigh = in.getText();
    picture.monFileCount = in.get<std::int32_t>();
    picture.insertBlankLines = in.get<std::int32_t>();
    picture.bankPath = getQString(in);
    picture.columnWidths = in.getArray<std::int32_t>();

    widgets::TableMakeup& table = picture.table;
    table.columns = in.get<std::int32_t>();
    check(table.columns > 0 && table.columns <= 1024 && picture.columnWidths.size() == std::size_t(table.columns));
    const auto blocks = in.get<std::uint64_t>();
    check(blocks < (1u << 20));
    for (std::uint64_t b = 0; b < blocks; ++b) {
        picture.blockIds.push_back(in.get<std::uint32_t>());
        widgets::TableMakeup::Block& block = table.blocks.emplace_back();
        block.width = in.get<std::int32_t>();
        block.shown = in.getArray<int>();
        check(block.width > 0 && block.width <= 1024 && block.shown.size() == std::size_t(table.columns));
        for (const int shown : block.shown)
            check(shown >= -1 && shown < block.width);
    }
    table.rows = in.getArray<widgets::TableMakeup::Row>();
    const std::vector<std::uint64_t> ends = in.getArray<std::uint64_t>();
    table.bytes = std::string(in.getText());
    check(in.atEnd() && !table.rows.empty());
    std::uint64_t previous = 0;
    for (const std::uint64_t end : ends) {
        check(end >= previous && end <= table.bytes.size());
        previous = end;
    }
    table.ends.assign(ends.begin(), ends.end());
    for (const widgets::TableMakeup::Row& row : table.rows) {
        if (row.block == widgets::TableMakeup::kOwnCells) {
            check(std::uint64_t(row.text) + std::uint64_t(table.columns) <= table.ends.size());
            continue;
        }
        check(row.block < table.blocks.size());
        check(row.changedColumn >= -1 && row.changedColumn < table.columns);
        check(row.changedColumn < 0 || row.text < table.ends.size());
    }
    check(table.rows.front().block == widgets::TableMakeup::kOwnCells);  // the header row
    return picture;
}

} // namespace app::recovery
