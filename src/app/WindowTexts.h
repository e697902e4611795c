#pragma once

// The window's fixed texts, as the Shift-JIS bytes the handlers work with: captions,
// initial texts, dialog filters, messages and the help panel's guidance texts.

#include "codec/ShiftJis.h"

#include <mutex>
#include <string>
#include <string_view>

namespace app::texts {

// A fixed text kept as written and converted to Shift-JIS when first used, so that no
// conversion (and no building of the codec's tables) runs before main().
class Text final {
public:
    constexpr explicit Text(std::u8string_view utf8) : m_utf8(utf8) {}
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    const std::string& str() const
    {
        std::call_once(m_once, [this] { m_bytes = sjis::fromUtf8(m_utf8); });
        return m_bytes;
    }
    operator const std::string&() const { return str(); }
    operator std::string_view() const { return str(); }

    friend std::string operator+(const Text& a, std::string_view b) { return joined(a.str(), b); }
    friend std::string operator+(std::string_view a, const Text& b) { return joined(a, b.str()); }
    friend bool operator==(const Text& a, std::string_view b) { return a.str() == b; }

private:
    static std::string joined(std::string_view a, std::string_view b)
    {
        std::string text;
        text.reserve(a.size() + b.size());
        return text.append(a).append(b);
    }

    std::u8string_view m_utf8;
    mutable std::once_flag m_once;
    mutable std::string m_bytes;
};

inline const Text kApplicationTitle(u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1");

// Captions and initial texts.
inline const Text kButton1(u8"① 読込");
inline const Text kBrowseCaption(u8"Zelqua用読込");
inline const Text kHideCaption(u8"非表示");
inline const Text kButton2(u8"⑩終了");
inline const Text kButton4(u8"④↓を削除・⑤↑で再設定");
inline const Text kButton5(u8"⑦↓をZelqua形式へ変換↑へ");
inline const Text kButton6(u8"⑨ディスクに保存");
inline const Text kButton7(u8"付番更新");
inline const Text kButton8(u8"ﾌｫﾝﾄ");
inline const Text kButton11(u8"印刷");
inline const Text kButton12(u8"一覧表示↑");
inline const Text kWelcome(u8"ようこそ！。5tq形式ﾌｧｲﾙからZelqua\r\nへの変換や、その合成・分割・訂正等\r\n編集できます。");
inline const Text kLabel21(u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰ");
inline const Text kEdit3(u8"デフォルトファイル名");
inline const Text kLabel1(u8"② ８つのジャンル表示");
inline const Text kLabel2(u8"③↑問題数選択して↓に加算");
inline const Text kLabel3(u8"⑥内容の編集と問題数ﾁｪｯｸ");
inline const Text kLabel4(u8"⑧確認");
inline const Text kLabel5(u8"ﾀｲﾄﾙ");
inline const Text kLabel6(u8"ｼﾞｬﾝﾙ");
inline const Text kFlowArrows(u8"↓↑");
inline const Text kLabel10(u8"←");
inline const Text kRightArrow(u8"→");
inline const Text kLabel14(u8"作成対象No");
inline const Text kLabel16(u8"から");
inline const Text kLabel15(u8"まで、問題数");
inline const Text kLabel20(u8"≧8");
inline const Text kLabel13(u8"≦300");
inline const Text kLabel17(u8"最後に、ﾀｲﾄﾙとｼﾞｬﾝﾙを変更記入");
inline const Text kLabel18(u8"④");
inline const Text kLabel19(u8"へ");

// Dialog filters.
inline const Text kOpenFilter(u8"Kuvetta形式(.5TQ)|*.5TQ|Zelqua形式(mon)|*.mon");
inline const Text kSaveFilter(u8"Zelqua形式(.mon)|*.mon|一般テキスト形式|*.TXT");

// Table texts.
inline const Text kBankMarker(u8"五択5TQ");
inline const std::string kMonMarker = "Zelqua";
inline const Text kGenreNameHeader(u8"ジャンル名");
inline const Text kCountHeader(u8"問題数");
inline const Text kFirstHeader(u8"始No");
inline const Text kLastHeader(u8"終No");
inline const Text kGenreRowPrefix(u8"ジャンル");
inline const Text kContentsHeader(u8"内容");
inline const Text kQuestionHeader(u8"問題・・・");
inline const Text kAnswerHeader(u8"解答");
inline const Text kGenreHeader(u8"ジャンル");
inline const Text kWrongAnswersHeader(u8"参考誤答等");
inline const Text kGenreEnd(u8"■");
inline const Text kWrongAnswerMark(u8"★");

// Messages.
inline const Text kCannotOpen(u8"ﾌｧｲﾙ %s は開けません");
// Files dropped on the window: a file neither reader takes, and a bank among several files.
inline const Text kCannotDrop(
    u8"ﾌｧｲﾙ %s は読み込めません。Kuvetta形式(.5TQ)かZelqua形式(.mon)のファイルをドロップして下さい");
// The same advice for files named on the command line (or opened from a file manager).
inline const Text kCannotName(
    u8"ﾌｧｲﾙ %s は読み込めません。Kuvetta形式(.5TQ)かZelqua形式(.mon)のファイルを指定して下さい");
inline const Text kOneBankOnlyNamed(
    u8"Kuvetta形式(.5TQ)のファイルは1つだけ指定して下さい。Zelqua形式(.mon)のファイルは複数指定できます");
// Why a dropped or named file cannot be read, as the system tells it.
inline const Text kFileMissing(u8"ﾌｧｲﾙ %s は見つかりません");
inline const Text kFileIsFolder(u8"%s はフォルダーのため読み込めません");
inline const Text kFileNotRegular(u8"%s は通常のファイルではないため読み込めません");
inline const Text kFileNotPermitted(u8"ﾌｧｲﾙ %s は読む権限がないため開けません");
inline const Text kUnholdableFileName(
    u8"ﾌｧｲﾙ %s は名前にShift-JISで表せない文字（?の所）があるため開けません");
inline const Text kOneBankOnly(
    u8"Kuvetta形式(.5TQ)のファイルは1つだけドロップして下さい。Zelqua形式(.mon)のファイルは複数ドロップできます");
inline const Text kMonFileTooLarge(
    u8"ﾌｧｲﾙ %s は大きすぎるため読み込めません。Zelqua形式の問題ファイルは %d バイトまでです");
inline const Text kMonLineTooLong(
    u8"ﾌｧｲﾙ %s には長すぎる行があるため読み込めません。1問は %d バイトまでです（問題文を閉じる\"が抜けていないか確かめて下さい）");
inline const Text kMonTooManyLines(
    u8"ﾌｧｲﾙ %s は行が多すぎるため読み込めません。Zelqua形式の問題ファイルは %d 行まで、1問は %d 行までです（問題文を閉じる\"が抜けていないか確かめて下さい）");
inline const Text kGraphicModeWarning(u8"注意！！！この問題集は《グラフィックモード》で、編集対象外です。保存には上書きしないよう充分ご注意下さい。");
inline const Text kInvalidCount(u8"問題数が適正数でないため作動しません。作成対象No指定等して適正の問題数8～300にしてから実行して下さい");
inline const Text kRangeOutsideRows(u8"作成対象Noの範囲に問題のない行が含まれるため作動しません。作成対象Noを指定し直して下さい");
// A character Shift-JIS cannot hold: the character itself, then its code point.
inline const Text kUnsavableCharacter(u8"%d行目に、Shift-JISで表せない文字「%s」(%s)があるため保存できません。Shift-JISで表せる文字に直してから保存して下さい");
inline const Text kUnconvertibleCharacter(u8"%sの中に、Shift-JISで表せない文字「%s」(%s)があります。Shift-JISで表せる文字に直してから実行して下さい");
inline const Text kUnstorableCellCharacter(u8"入力した文の中に、Shift-JISで表せない文字「%s」(%s)があるため表に記録できません。入力した文はそのまま残してあります。Shift-JISで表せる文字に直して下さい");
inline const Text kClearCannotBeUndone(
    u8"下表の問題が多すぎるため、この削除は元に戻せません（Ctrl+Zが効きません）。削除してよろしいですか?");
inline const Text kBlankLinesQuestion(u8"印刷後の用紙に訂正書込みが出来るように、空欄行を入れますか?");
inline const Text kPrintJobTitle(u8"返済計算");
inline const Text kPrinting(u8"印刷しています…");

// The find bar over the question table (Ctrl+F), and the marks of a question taken twice.
inline const Text kFindBarName(u8"問題表の検索");
inline const Text kFindFieldName(u8"検索する語");
inline const Text kFindPrevious(u8"▲");
inline const Text kFindPreviousName(u8"前を検索");
inline const Text kFindNext(u8"▼");
inline const Text kFindNextName(u8"次を検索");
inline const Text kFindDuplicate(u8"重複▼");
inline const Text kFindDuplicateName(u8"次の重複へ");
inline const Text kFindClose(u8"×");
inline const Text kFindCloseName(u8"検索を閉じる");
inline const Text kFindHelp(u8"全角半角・大文字小文字の違いは無視。Enter/F3=次,Shift+Enter=前,F8=次の重複,Esc=閉じる");
inline const Text kFindPosition(u8"%d / %d");
inline const Text kFindNone(u8"該当なし");
inline const Text kFindPreparing(u8"準備中 %d%");
inline const Text kFindWrappedToTop(u8"先頭に戻りました");
inline const Text kFindWrappedToBottom(u8"末尾に戻りました");
inline const Text kFindDuplicateAt(u8"重複 %d 行");
inline const Text kFindNoDuplicate(u8"重複なし");
inline const Text kDuplicateMark(u8"重複：同じ問題と解答の行が他にもあります");

// What a screen reader speaks for a control without a caption of its own (the fields
// speak their label's caption), and what the count field's colour says.
inline const Text kGenreTableName(u8"ジャンル表");
inline const Text kQuestionTableName(u8"問題表");
inline const Text kHelpPanelName(u8"ヘルプ");
inline const Text kMemoPadName(u8"メモ帳");
inline const Text kSaveNameFieldName(u8"保存するファイル名");
inline const Text kStartFieldName(u8"作成対象No から");
inline const Text kEndFieldName(u8"作成対象No まで");
inline const Text kCountFieldName(u8"問題数");
inline const Text kDriveListName(u8"ドライブ");
inline const Text kDirectoryListName(u8"フォルダ");
inline const Text kFileListName(u8"ファイル");
inline const Text kHelpIconName(u8"ヘルプを表示");
inline const Text kCountValid(u8"問題数は8～300の範囲内です。⑦で変換できます");
inline const Text kCountInvalid(u8"問題数が8～300の範囲外です。⑦で変換できません");
inline const Text kCountNotYet(u8"問題数はまだ数えていません。⑦で変換できません");

// Texts written by actions.
inline const Text kBankOpened(u8"②の表に8つのジャンルが表示。ジャンルの各［問題数］部分をクリック");
inline const Text kGenreAdded(u8"下表に内容表示。加算したいジャンルを複数指定可。限度300問だが後で作成対象指定で設定可");

// Guidance texts shown as the mouse moves over a control.
inline const Text kHelpButton1(u8"①でファイルを読み込み。KuvettaかZelquaのファイルに限定");
inline const Text kHelpButton2(u8"お疲れさま！行列ファイルまで出来てませんが各本体プレーヤーの指示通りで実行できます。");
inline const Text kHelpButton4(u8"下表全て消去(構成やり直し)。内容の訂正等を開始してるならば注意！(消滅)");
inline const Text kHelpButton5(u8"⑦ボタンで上メモ帳にZelqua形式のデータ作成＝Windowsのメモ帳等で見ても同一");
inline const Text kHelpButton6(u8"ファイル名確認のダイヤログで訂正の上保存（ﾌｧｲﾙ名少し変更のこと）／記録はPlainTextです");
inline const Text kHelpButton7(u8"番号順でない時表示。作成対象No指定は、これを押して新規付番(ﾎﾞﾀﾝ消去)後、行ってください");
inline const Text kHelpButton8(u8"印刷用のﾌｫﾝﾄ調整で保存時は無視されます");
inline const Text kHelpButton11(u8"このメモ欄を一覧印刷します。1行が複数行にならないようﾌｫﾝﾄは小さく・用紙は横置きで!");
inline const Text kHelpButton12(u8"この表を、⑧のメモ欄に転記します");
inline const Text kHelpButton13(u8"Zelqua用にファイル選択リストの表示（左表はクリア）／注意：半角のコンマ含みの文は不良処理");
inline const Text kHelpEdit3(u8"ここでの訂正不要だが、訂正可能／TXTの時はノートパッド用PlainTextで記録");
inline const Text kHelpEdit4(u8"編集内容確定後、［⑦ボタン］の直前にここを訂正入力して下さい");
inline const Text kHelpEdit6(u8"ダブルクリックで現在のカレント行番号入力");
inline const Text kHelpLabel1(u8"「Kuvetta」は8ジャンル制＝簡単には－－③各8種⑦⑨④－－を8回繰返で8ファイル作成");
inline const Text kHelpLabel2(u8"5TQは問題文と正解1に誤答4。誤答の4つは参考表示。(Zelquaは1問1答のため)");
inline const Text kHelpLabel3(u8"各セル、ダブルクリックで内容直接編集。カット=Ctrl+X,コピー=Ctrl+C,ペースト=Ctrl+V");
inline const Text kHelpLabel4(u8"確認して気に入らなければ、⑥～⑦の過程を何度でも繰り返し＝＞最後に⑨で保存");
inline const Text kHelpLabel5(u8"**.DOC 等からコピー＆ペーストで書き込みしてください");
inline const Text kHelpLabel6(u8"保存のため最終の⑦ボタン前に訂正して下さい。");
inline const Text kHelpLabel7(u8"下表に内容表示。加えたいジャンルを複数指定可。限度300問だが後で作成対象指定で設定可");
inline const Text kHelpLabel8(u8"5tqでは②表に8つのジャンル表示。他項セルをクリックで下表にそのジャンルの内容取込表示");
inline const Text kHelpLabel9(u8"■全体の流れ■①5tq,Zelquaﾌｧｲﾙ読込→②～⑤概略構成構築→⑥～⑧内容推敲→⑨Zelqua保存");
inline const Text kHelpLabel10(u8"［④⑤～③]→[⑥⑦]繰り返してさらに新問題集の作成。[①読込]等からでもOK");
inline const Text kHelpLabel12(u8"⑧のメモ帳部分をTEXT退避用に一時使用可。カット=Ctrl+X　,コピー=Ctrl+C　,ペースト=Ctrl+V");
inline const Text kHelpLabel13(u8"左が赤の時は、［⑦ボタン］,［一覧表示］及び[印刷]ボタンは作動しません。");
inline const Text kHelpLabel14(u8"Zelquaの問題作成対象を左端セル番号で指定（上下へドラッグ移動で対象外化）");
inline const Text kHelpLabel15(u8"問題数はZelquaの制約より8以上300以下に設定");
inline const Text kHelpLabel17(u8"ﾘﾀｰﾝは･･で表示。編集ﾓｰﾄﾞ時多少ドラッグ気味に上下すると編集可能（新規ﾘﾀｰﾝ入力不可）");
inline const Text kHelpStringGrid2(u8"番号部分をドラッグして行を入れ替え可能。＝上や下に移動して対象外化");
inline const Text kHelpMemo2(u8"ここダブルクリックで、この簡易ヘルプを消します。（復活はアイコンクリック）");
inline const Text kHelpRichEdit1(u8"Zelquaでは［秒数，正解，問題文］の順。ここでは秒数=15で固定。必要なら本体プレーヤーにて設定");
inline const Text kHelpDirectoryListBox1(u8"ダブルクリックでディレクトリの選択");
inline const Text kHelpFileListBox1(u8"クリックでファイルを選択し、左の表に表示");

inline const Text& kHelpEdit8 = kHelpEdit6;

// The cell-editing text is the same as the one of the arrow towards the title field.
inline const Text& kCellEditing = kHelpLabel12;

// The listing's marks: a title line, then a line per question.
inline const Text kListingTitleOpen(u8"　　タイトル☆☆");
inline const Text kListingTitleToGenre(u8"☆☆■■　ジャンル◇◇");
inline const Text kListingGenreClose(u8"◇◇");
inline const Text kListingAfterNumber(u8" ◆");
inline const Text kListingBeforeAnswer(u8"●〓");
inline const Text kListingBetweenCells(u8"■");

} // namespace app::texts
