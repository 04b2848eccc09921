// Every message of the program's string table as the user must read it, in its three
// languages, as UTF-8: the one statement of these texts in the tests, which the resource, unit,
// end-to-end and acceptance tests all compare with. Written here independently of the resource
// scripts, so that a changed resource text fails. "\n" is a line feed; the typos of the English
// texts are the program's own.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum class MessageLanguage { English, Japanese, Chinese };

struct ExpectedMessage {
    int id;
    const char* english;
    const char* japanese;
    const char* chinese;

    const char* In(MessageLanguage language) const
    {
        return language == MessageLanguage::Japanese ? japanese
               : language == MessageLanguage::Chinese ? chinese
                                                      : english;
    }
};

// Message 37 is never shown: it is the language suffix of the setup information file's name.
inline constexpr ExpectedMessage kExpectedMessages[] = {
    {1, "Damaged file, or NO Information file.",
     "設定ファイルが壊れているか、または見つかりません。",
     "找不到設定檔或檔案已破損。"},
    {2, "The uninstall entry already used by '%s'. Please uninstall it.",
     "アンインストール項目が、他のアプリケーションで使われています。\n%s をアンインストールしてください。",
     "移除項目已被其他應用程式使用。\n請刪除 %s 。"},
    {5, "Unable to create a folder, %s, because it already exists.",
     "%s - 同じ名前のファイルが既に存在するのでフォルダが作成できません。",
     "%s - 已有相同名稱的檔案存在，無法建立資料夾。"},
    {6, "Failed in creating a folder, %s.",
     "%s のフォルダ作成に失敗しました。",
     "資料夾 %s 建立失敗。"},
    {7, "Assign a destination folder for %s :",
     "%sのインストール先を指定してください：",
     "請選擇 %s 的安裝目標資料夾："},
    {8, "Installation of %s",
     "%sのインストール",
     "安裝 %s"},
    {9, "Use <%s> in the menu for the uninstallation.",
     "このソフトを削除するにはメニューの「%s」を使ってください。",
     "如果要解除安裝，請從控制台的「新增/移除程式」項目進行移除。"},
    {11, "Unable to install in the route directory.",
     "ルートディレクトリにはインストールできません。",
     "無法安裝到根目錄。"},
    {12, "Assign a correct drive and path, e.g. C:\\Soft\\.",
     "「C:\\Soft\\」のように、ドライブ名も含めた正しいパス名を指定してください。",
     "請設定包含磁碟機代號的完整路徑，例如 C:\\Soft\\ 。"},
    {18, "%s is in use so that overwriting cannot be executed.",
     "%s は他で使用中のため上書きできません。",
     "%s 正被其他程式使用中，無法取代檔案。"},
    {19, "%s is already exists.\nDo you overwrite the existing file?\n\n Copy To   : %s\n Copy From : %s",
     "%s は既に存在します。\n既存ファイルに上書きしますか？\n\n コピー先： %s\n コピー元： %s",
     "%s 已存在。\n是否要取代檔案?\n\n 複製目標： %s\n 複製來源： %s"},
    {20, "Confirmation",
     "上書き確認",
     "確認取代檔案"},
    {21, "Failed in copying %s",
     "%s のコピーに失敗しました。",
     "%s 複製失敗。"},
    {22, "Installation succeeded.  Press <Finish> for completion.",
     "インストールが完了しました。「完了」を押すと終了します。",
     "已安裝完成。按一下「完成」鍵關閉安裝程式。"},
    {24, "Failed in uninstalling %s.  Continue the process without uninstalling the file.",
     "%s の削除に失敗しました。このファイルをスキップして処理を続行します。",
     "%s 移除失敗。跳過這個檔案繼續作業。"},
    {26, "Failed in deleting the folder, %s.",
     "%s - ディレクトリの削除に失敗しました。",
     "%s - 資料夾移除失敗。"},
    {27, "Found abnormal Reg section.",
     "Regセクションがおかしいです。",
     "Reg機碼異常。"},
    {28, "Failed in uninstalling %s.  Try again the uninstallation, after closing %s.",
     "%s の削除に失敗しました。%sを終了して、もう一度アンインストールをやり直してください。",
     "%s 移除失敗。請先將 %s 關閉再重新執行移除程式。"},
    {29, "Uninstallation of %s",
     "%sの削除",
     "移除 %s"},
    {30, "%s has been successfully uninstalled.",
     "%sは正常に削除されました。",
     "已成功移除 %s。"},
    {32, "%s will be uninstalled.",
     "%sを削除します。",
     "移除 %s。"},
    {33, "  If resident applications still exist, close them and then press <OK> button.",
     "まだ常駐している場合は、今すぐ終了させてからOKボタンを押してください。",
     "\n如果程式正在執行中，請先將程式關閉，然後按一下「確定」。"},
    {34, "Failed in executing the uninstallation program.  Uninstall unnecessary files manually.",
     "アンインストール用プログラムの起動に失敗しました。手動で削除してください。",
     "啟動移除程式失敗。請自行刪除檔案。"},
    {35, "Installation has been completed.",
     "インストールが完了しました。",
     "已安裝完成。"},
    {36, "Installation was interrupted.",
     "インストールは中断されました。",
     "已中斷安裝。"},
    {37, "E.INF",
     "J.INF",
     "ZT.INF"},
    {38, "Can't run on Windows 3.X. Needs Windows 95/NT4 or later",
     "Windows 3.X では実行できません。Windows 95/NT4 以降が必要です。",
     "不支援 Windows 3.X，必須在 Windows 95/NT4 或更新的版本執行。"},
    {39, "Nothing was uninstalled, because %s is not the installed copy of %s.",
     "%s は %s のインストールされたプログラムではないため、何も削除しませんでした。",
     "%s 不是已安裝的 %s 程式，因此未移除任何檔案。"},
    {40, "Installation has finished, but some files were not installed.  Run the installation again, or uninstall it.",
     "インストールは終了しましたが、一部のファイルがインストールされませんでした。もう一度インストールするか、アンインストールしてください。",
     "安裝已結束，但有部分檔案未安裝。請重新執行安裝，或將其移除。"},
    {41, "The folder %s already holds files. The uninstall will remove only the files this installation adds, and keep the folder and everything else in it.\n\nInstall into this folder?",
     "フォルダ %s には既にファイルがあります。アンインストールでは、このインストールで追加したファイルだけを削除し、フォルダとその他のファイルは残します。\n\nこのフォルダにインストールしますか？",
     "資料夾 %s 中已有檔案。解除安裝時只會刪除這次安裝所加入的檔案，並保留資料夾及其中的其他檔案。\n\n要安裝到這個資料夾嗎？"},
    {42, "The folder %s holds the installation of '%s'. Installing here would replace its files. Choose another folder.",
     "フォルダ %s には「%s」がインストールされています。ここにインストールすると、そのファイルを置き換えてしまいます。別のフォルダを指定してください。",
     "資料夾 %s 中已安裝了「%s」。安裝到這裡會取代它的檔案。請指定其他資料夾。"},
    {43, "The folder name is too long to register the program for uninstallation. Choose a shorter folder.",
     "フォルダ名が長すぎるため、アンインストールの登録ができません。もっと短いフォルダを指定してください。",
     "資料夾名稱太長，無法登錄解除安裝。請指定較短的資料夾。"},
    {44, "Switches for unattended installs and removals:\n\n/quiet\tno window, no question\n/passive\tprogress only, no question\n/dir=FOLDER\tthe destination folder\n/menu=FOLDER\tthe program-menu folder\n/nomenu\tno program-menu shortcuts\n/desktop\ta desktop shortcut\n/log=FILE\ta log of the run\n/r /quiet\tremove the installed application\n\nExit codes: 0 complete, 1602 cancelled, 1603 failed or incomplete, 87 a command line not understood.",
     "自動インストールと自動削除のスイッチ：\n\n/quiet\tウィンドウも確認も表示しない\n/passive\t進行状況だけを表示する\n/dir=フォルダ\tインストール先フォルダ\n/menu=フォルダ\tプログラムメニューのフォルダ\n/nomenu\tプログラムメニューにショートカットを作らない\n/desktop\tデスクトップにショートカットを作る\n/log=ファイル\t実行の記録\n/r /quiet\tインストールしたアプリケーションを削除する\n\n終了コード：0 完了、1602 取り消し、1603 失敗または未完了、87 コマンドラインの誤り",
     "自動安裝與自動移除的參數：\n\n/quiet\t不顯示視窗，不詢問\n/passive\t只顯示進度，不詢問\n/dir=資料夾\t安裝目的資料夾\n/menu=資料夾\t程式集資料夾\n/nomenu\t不建立程式集捷徑\n/desktop\t建立桌面捷徑\n/log=檔案\t執行記錄\n/r /quiet\t移除已安裝的應用程式\n\n結束代碼：0 完成，1602 已取消，1603 失敗或未完成，87 命令列無法辨識"},
    {45, "The Windows common controls (comctl32.dll) cannot be loaded, so the installation cannot be shown.",
     "コモンコントロール (comctl32.dll) を読み込めないため、インストールを表示できません。",
     "無法載入通用控制項 (comctl32.dll)，因此無法顯示安裝畫面。"},
};

inline const ExpectedMessage* FindExpectedMessage(int id)
{
    for (const ExpectedMessage& message : kExpectedMessages) {
        if (message.id == id)
            return &message;
    }
    return nullptr;
}

// The text with each "%s" replaced by the next argument (an empty text once they run out), as
// the program's formatter does.
inline std::string Formatted(const std::string& format, const std::vector<std::string>& arguments)
{
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            text += next < arguments.size() ? arguments[next++] : std::string();
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

// The text of message id in language with its "%s" conversions filled from arguments; a text
// that no message has when the table lacks the id, so that the comparison fails.
inline std::string ExpectedText(int id, MessageLanguage language, const std::vector<std::string>& arguments = {})
{
    const ExpectedMessage* message = FindExpectedMessage(id);
    if (message == nullptr)
        return "<no message " + std::to_string(id) + ">";
    return Formatted(message->In(language), arguments);
}

// True when text is the format with any texts in place of its "%s" conversions.
inline bool MatchesFormat(const std::string& text, const std::string& format)
{
    size_t conversion = format.find("%s");
    if (conversion == std::string::npos)
        return text == format;
    std::string head = format.substr(0, conversion);
    std::string rest = format.substr(conversion + 2);
    if (text.compare(0, head.size(), head) != 0)
        return false;
    // Every split of the remaining text: a conversion may itself hold the next literal part.
    for (size_t start = head.size(); start <= text.size(); ++start) {
        if (MatchesFormat(text.substr(start), rest))
            return true;
    }
    return false;
}
