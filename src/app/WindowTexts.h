#pragma once

// The window's fixed texts, as the Shift-JIS bytes the handlers work with: captions,
// initial texts, dialog filters, messages and the help panel's guidance texts.

#include "codec/ShiftJis.h"

#include <string>

namespace app::texts {

inline std::string sj(std::u8string_view text) { return sjis::fromUtf8(text); }

inline const std::string kApplicationTitle = sj(u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1");

// Captions and initial texts.
inline const std::string kButton1 = sj(u8"① 読込");
inline const std::string kBrowseCaption = sj(u8"Zelqua用読込");
inline const std::string kHideCaption = sj(u8"非表示");
inline const std::string kButton2 = sj(u8"⑩終了");
inline const std::string kButton4 = sj(u8"④↓を削除・⑤↑で再設定");
inline const std::string kButton5 = sj(u8"⑦↓をZelqua形式へ変換↑へ");
inline const std::string kButton6 = sj(u8"⑨ディスクに保存");
inline const std::string kButton7 = sj(u8"付番更新");
inline const std::string kButton8 = sj(u8"ﾌｫﾝﾄ");
inline const std::string kButton11 = sj(u8"印刷");
inline const std::string kButton12 = sj(u8"一覧表示↑");
inline const std::string kWelcome = sj(u8"ようこそ！。5tq形式ﾌｧｲﾙからZelqua\r\nへの変換や、その合成・分割・訂正等\r\n編集できます。");
inline const std::string kLabel21 = sj(u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰ");
inline const std::string kEdit3 = sj(u8"デフォルトファイル名");
inline const std::string kLabel1 = sj(u8"② ８つのジャンル表示");
inline const std::string kLabel2 = sj(u8"③↑問題数選択して↓に加算");
inline const std::string kLabel3 = sj(u8"⑥内容の編集と問題数ﾁｪｯｸ");
inline const std::string kLabel4 = sj(u8"⑧確認");
inline const std::string kLabel5 = sj(u8"ﾀｲﾄﾙ");
inline const std::string kLabel6 = sj(u8"ｼﾞｬﾝﾙ");
inline const std::string kFlowArrows = sj(u8"↓↑");
inline const std::string kLabel10 = sj(u8"←");
inline const std::string kRightArrow = sj(u8"→");
inline const std::string kLabel14 = sj(u8"作成対象No");
inline const std::string kLabel16 = sj(u8"から");
inline const std::string kLabel15 = sj(u8"まで、問題数");
inline const std::string kLabel20 = sj(u8"≧8");
inline const std::string kLabel13 = sj(u8"≦300");
inline const std::string kLabel17 = sj(u8"最後に、ﾀｲﾄﾙとｼﾞｬﾝﾙを変更記入");
inline const std::string kLabel18 = sj(u8"④");
inline const std::string kLabel19 = sj(u8"へ");

// Dialog filters.
inline const std::string kOpenFilter = sj(u8"Kuvetta形式(.5TQ)|*.5TQ|Zelqua形式(mon)|*.mon");
inline const std::string kSaveFilter = sj(u8"Zelqua形式(.mon)|*.mon|一般テキスト形式|*.TXT");

// Table texts.
inline const std::string kBankMarker = sj(u8"五択5TQ");
inline const std::string kMonMarker = "Zelqua";
inline const std::string kGenreNameHeader = sj(u8"ジャンル名");
inline const std::string kCountHeader = sj(u8"問題数");
inline const std::string kFirstHeader = sj(u8"始No");
inline const std::string kLastHeader = sj(u8"終No");
inline const std::string kGenreRowPrefix = sj(u8"ジャンル");
inline const std::string kContentsHeader = sj(u8"内容");
inline const std::string kQuestionHeader = sj(u8"問題・・・");
inline const std::string kAnswerHeader = sj(u8"解答");
inline const std::string kGenreHeader = sj(u8"ジャンル");
inline const std::string kWrongAnswersHeader = sj(u8"参考誤答等");
inline const std::string kGenreEnd = sj(u8"■");
inline const std::string kWrongAnswerMark = sj(u8"★");

// Messages.
inline const std::string kCannotOpen = sj(u8"ﾌｧｲﾙ %s は開けません");
// Files dropped on the window: a file neither reader takes, and a bank among several files.
inline const std::string kCannotDrop =
    sj(u8"ﾌｧｲﾙ %s は読み込めません。Kuvetta形式(.5TQ)かZelqua形式(.mon)のファイルをドロップして下さい");
inline const std::string kUnholdableFileName =
    sj(u8"ﾌｧｲﾙ %s は名前にShift-JISで表せない文字（?の所）があるため開けません");
inline const std::string kOneBankOnly =
    sj(u8"Kuvetta形式(.5TQ)のファイルは1つだけドロップして下さい。Zelqua形式(.mon)のファイルは複数ドロップできます");
inline const std::string kMonFileTooLarge =
    sj(u8"ﾌｧｲﾙ %s は大きすぎるため読み込めません。Zelqua形式の問題ファイルは %d バイトまでです");
inline const std::string kMonLineTooLong =
    sj(u8"ﾌｧｲﾙ %s には長すぎる行があるため読み込めません。1問は %d バイトまでです（問題文を閉じる\"が抜けていないか確かめて下さい）");
inline const std::string kMonTooManyLines =
    sj(u8"ﾌｧｲﾙ %s は行が多すぎるため読み込めません。Zelqua形式の問題ファイルは %d 行まで、1問は %d 行までです（問題文を閉じる\"が抜けていないか確かめて下さい）");
inline const std::string kGraphicModeWarning = sj(u8"注意！！！この問題集は《グラフィックモード》で、編集対象外です。保存には上書きしないよう充分ご注意下さい。");
inline const std::string kInvalidCount = sj(u8"問題数が適正数でないため作動しません。作成対象No指定等して適正の問題数8～300にしてから実行して下さい");
inline const std::string kRangeOutsideRows = sj(u8"作成対象Noの範囲に問題のない行が含まれるため作動しません。作成対象Noを指定し直して下さい");
// A character Shift-JIS cannot hold: the character itself, then its code point.
inline const std::string kUnsavableCharacter = sj(u8"%d行目に、Shift-JISで表せない文字「%s」(%s)があるため保存できません。Shift-JISで表せる文字に直してから保存して下さい");
inline const std::string kUnconvertibleCharacter = sj(u8"%sの中に、Shift-JISで表せない文字「%s」(%s)があります。Shift-JISで表せる文字に直してから実行して下さい");
inline const std::string kUnstorableCellCharacter = sj(u8"入力した文の中に、Shift-JISで表せない文字「%s」(%s)があるため表に記録できません。入力した文はそのまま残してあります。Shift-JISで表せる文字に直して下さい");
inline const std::string kClearCannotBeUndone =
    sj(u8"下表の問題が多すぎるため、この削除は元に戻せません（Ctrl+Zが効きません）。削除してよろしいですか?");
inline const std::string kBlankLinesQuestion = sj(u8"印刷後の用紙に訂正書込みが出来るように、空欄行を入れますか?");
inline const std::string kPrintJobTitle = sj(u8"返済計算");
inline const std::string kPrinting = sj(u8"印刷しています…");

// What a screen reader speaks for a control without a caption of its own (the fields
// speak their label's caption), and what the count field's colour says.
inline const std::string kGenreTableName = sj(u8"ジャンル表");
inline const std::string kQuestionTableName = sj(u8"問題表");
inline const std::string kHelpPanelName = sj(u8"ヘルプ");
inline const std::string kMemoPadName = sj(u8"メモ帳");
inline const std::string kSaveNameFieldName = sj(u8"保存するファイル名");
inline const std::string kStartFieldName = sj(u8"作成対象No から");
inline const std::string kEndFieldName = sj(u8"作成対象No まで");
inline const std::string kCountFieldName = sj(u8"問題数");
inline const std::string kDriveListName = sj(u8"ドライブ");
inline const std::string kDirectoryListName = sj(u8"フォルダ");
inline const std::string kFileListName = sj(u8"ファイル");
inline const std::string kHelpIconName = sj(u8"ヘルプを表示");
inline const std::string kCountValid = sj(u8"問題数は8～300の範囲内です。⑦で変換できます");
inline const std::string kCountInvalid = sj(u8"問題数が8～300の範囲外です。⑦で変換できません");
inline const std::string kCountNotYet = sj(u8"問題数はまだ数えていません。⑦で変換できません");

// Texts written by actions.
inline const std::string kBankOpened = sj(u8"②の表に8つのジャンルが表示。ジャンルの各［問題数］部分をクリック");
inline const std::string kGenreAdded = sj(u8"下表に内容表示。加算したいジャンルを複数指定可。限度300問だが後で作成対象指定で設定可");

// Guidance texts shown as the mouse moves over a control.
inline const std::string kHelpButton1 = sj(u8"①でファイルを読み込み。KuvettaかZelquaのファイルに限定");
inline const std::string kHelpButton2 = sj(u8"お疲れさま！行列ファイルまで出来てませんが各本体プレーヤーの指示通りで実行できます。");
inline const std::string kHelpButton4 = sj(u8"下表全て消去(構成やり直し)。内容の訂正等を開始してるならば注意！(消滅)");
inline const std::string kHelpButton5 = sj(u8"⑦ボタンで上メモ帳にZelqua形式のデータ作成＝Windowsのメモ帳等で見ても同一");
inline const std::string kHelpButton6 = sj(u8"ファイル名確認のダイヤログで訂正の上保存（ﾌｧｲﾙ名少し変更のこと）／記録はPlainTextです");
inline const std::string kHelpButton7 = sj(u8"番号順でない時表示。作成対象No指定は、これを押して新規付番(ﾎﾞﾀﾝ消去)後、行ってください");
inline const std::string kHelpButton8 = sj(u8"印刷用のﾌｫﾝﾄ調整で保存時は無視されます");
inline const std::string kHelpButton11 = sj(u8"このメモ欄を一覧印刷します。1行が複数行にならないようﾌｫﾝﾄは小さく・用紙は横置きで!");
inline const std::string kHelpButton12 = sj(u8"この表を、⑧のメモ欄に転記します");
inline const std::string kHelpButton13 = sj(u8"Zelqua用にファイル選択リストの表示（左表はクリア）／注意：半角のコンマ含みの文は不良処理");
inline const std::string kHelpEdit3 = sj(u8"ここでの訂正不要だが、訂正可能／TXTの時はノートパッド用PlainTextで記録");
inline const std::string kHelpEdit4 = sj(u8"編集内容確定後、［⑦ボタン］の直前にここを訂正入力して下さい");
inline const std::string kHelpEdit6 = sj(u8"ダブルクリックで現在のカレント行番号入力");
inline const std::string kHelpLabel1 = sj(u8"「Kuvetta」は8ジャンル制＝簡単には－－③各8種⑦⑨④－－を8回繰返で8ファイル作成");
inline const std::string kHelpLabel2 = sj(u8"5TQは問題文と正解1に誤答4。誤答の4つは参考表示。(Zelquaは1問1答のため)");
inline const std::string kHelpLabel3 = sj(u8"各セル、ダブルクリックで内容直接編集。カット=Ctrl+X,コピー=Ctrl+C,ペースト=Ctrl+V");
inline const std::string kHelpLabel4 = sj(u8"確認して気に入らなければ、⑥～⑦の過程を何度でも繰り返し＝＞最後に⑨で保存");
inline const std::string kHelpLabel5 = sj(u8"**.DOC 等からコピー＆ペーストで書き込みしてください");
inline const std::string kHelpLabel6 = sj(u8"保存のため最終の⑦ボタン前に訂正して下さい。");
inline const std::string kHelpLabel7 = sj(u8"下表に内容表示。加えたいジャンルを複数指定可。限度300問だが後で作成対象指定で設定可");
inline const std::string kHelpLabel8 = sj(u8"5tqでは②表に8つのジャンル表示。他項セルをクリックで下表にそのジャンルの内容取込表示");
inline const std::string kHelpLabel9 = sj(u8"■全体の流れ■①5tq,Zelquaﾌｧｲﾙ読込→②～⑤概略構成構築→⑥～⑧内容推敲→⑨Zelqua保存");
inline const std::string kHelpLabel10 = sj(u8"［④⑤～③]→[⑥⑦]繰り返してさらに新問題集の作成。[①読込]等からでもOK");
inline const std::string kHelpLabel12 = sj(u8"⑧のメモ帳部分をTEXT退避用に一時使用可。カット=Ctrl+X　,コピー=Ctrl+C　,ペースト=Ctrl+V");
inline const std::string kHelpLabel13 = sj(u8"左が赤の時は、［⑦ボタン］,［一覧表示］及び[印刷]ボタンは作動しません。");
inline const std::string kHelpLabel14 = sj(u8"Zelquaの問題作成対象を左端セル番号で指定（上下へドラッグ移動で対象外化）");
inline const std::string kHelpLabel15 = sj(u8"問題数はZelquaの制約より8以上300以下に設定");
inline const std::string kHelpLabel17 = sj(u8"ﾘﾀｰﾝは･･で表示。編集ﾓｰﾄﾞ時多少ドラッグ気味に上下すると編集可能（新規ﾘﾀｰﾝ入力不可）");
inline const std::string kHelpStringGrid2 = sj(u8"番号部分をドラッグして行を入れ替え可能。＝上や下に移動して対象外化");
inline const std::string kHelpMemo2 = sj(u8"ここダブルクリックで、この簡易ヘルプを消します。（復活はアイコンクリック）");
inline const std::string kHelpRichEdit1 = sj(u8"Zelquaでは［秒数，正解，問題文］の順。ここでは秒数=15で固定。必要なら本体プレーヤーにて設定");
inline const std::string kHelpDirectoryListBox1 = sj(u8"ダブルクリックでディレクトリの選択");
inline const std::string kHelpFileListBox1 = sj(u8"クリックでファイルを選択し、左の表に表示");

inline const std::string& kHelpEdit8 = kHelpEdit6;

// The cell-editing text is the same as the one of the arrow towards the title field.
inline const std::string& kCellEditing = kHelpLabel12;

} // namespace app::texts
