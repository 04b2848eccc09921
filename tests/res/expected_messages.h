// Every message of the string table as the user must see it, in the three languages, as
// UTF-8. "\n" is a line feed; the typos of the English texts are the program's own.
#pragma once

#include <stddef.h>

#include <string>

struct ExpectedMessage {
    int id;
    const char* text;
};

// The text of message id in table, with its "%s" replaced by argument.
template <size_t N>
std::string FilledMessage(const ExpectedMessage (&table)[N], int id, const std::string& argument = "")
{
    for (const ExpectedMessage& message : table) {
        if (message.id != id)
            continue;
        std::string text = message.text;
        size_t place = text.find("%s");
        if (place != std::string::npos)
            text.replace(place, 2, argument);
        return text;
    }
    return "(no message " + std::to_string(id) + ")";
}

static const ExpectedMessage kMessagesEn[] = {
    {1, "Damaged file, or NO Information file."},
    {2, "The uninstall entry already used by '%s'. Please uninstall it."},
    {5, "Unable to create a folder, %s, because it already exists."},
    {6, "Failed in creating a folder, %s."},
    {7, "Assign a destination folder for %s :"},
    {8, "Installation of %s"},
    {9, "Use <%s> in the menu for the uninstallation."},
    {11, "Unable to install in the route directory."},
    {12, "Assign a correct drive and path, e.g. C:\\Soft\\."},
    {18, "%s is in use so that overwriting cannot be executed."},
    {19, "%s is already exists.\nDo you overwrite the existing file?\n\n Copy To   : %s\n Copy From : %s"},
    {20, "Confirmation"},
    {21, "Failed in copying %s"},
    {22, "Installation succeeded.  Press <Finish> for completion."},
    {24, "Failed in uninstalling %s.  Continue the process without uninstalling the file."},
    {26, "Failed in deleting the folder, %s."},
    {27, "Found abnormal Reg section."},
    {28, "Failed in uninstalling %s.  Try again the uninstallation, after closing %s."},
    {29, "Uninstallation of %s"},
    {30, "%s has been successfully uninstalled."},
    {32, "%s will be uninstalled."},
    {33, "  If resident applications still exist, close them and then press <OK> button."},
    {34, "Failed in executing the uninstallation program.  Uninstall unnecessary files manually."},
    {35, "Installation has been completed."},
    {36, "Installation was interrupted."},
    {37, "E.INF"},
    {38, "Can't run on Windows 3.X. Needs Windows 95/NT4 or later"},
    {39, "Nothing was uninstalled, because %s is not the installed copy of %s."},
    {40, "Installation has finished, but some files were not installed.  Run the installation again, or uninstall it."},
};

static const ExpectedMessage kMessagesJa[] = {
    {1, "設定ファイルが壊れているか、または見つかりません。"},
    {2, "アンインストール項目が、他のアプリケーションで使われています。\n%s をアンインストールしてください。"},
    {5, "%s - 同じ名前のファイルが既に存在するのでフォルダが作成できません。"},
    {6, "%s のフォルダ作成に失敗しました。"},
    {7, "%sのインストール先を指定してください："},
    {8, "%sのインストール"},
    {9, "このソフトを削除するにはメニューの「%s」を使ってください。"},
    {11, "ルートディレクトリにはインストールできません。"},
    {12, "「C:\\Soft\\」のように、ドライブ名も含めた正しいパス名を指定してください。"},
    {18, "%s は他で使用中のため上書きできません。"},
    {19, "%s は既に存在します。\n既存ファイルに上書きしますか？\n\n コピー先： %s\n コピー元： %s"},
    {20, "上書き確認"},
    {21, "%s のコピーに失敗しました。"},
    {22, "インストールが完了しました。「完了」を押すと終了します。"},
    {24, "%s の削除に失敗しました。このファイルをスキップして処理を続行します。"},
    {26, "%s - ディレクトリの削除に失敗しました。"},
    {27, "Regセクションがおかしいです。"},
    {28, "%s の削除に失敗しました。%sを終了して、もう一度アンインストールをやり直してください。"},
    {29, "%sの削除"},
    {30, "%sは正常に削除されました。"},
    {32, "%sを削除します。"},
    {33, "まだ常駐している場合は、今すぐ終了させてからOKボタンを押してください。"},
    {34, "アンインストール用プログラムの起動に失敗しました。手動で削除してください。"},
    {35, "インストールが完了しました。"},
    {36, "インストールは中断されました。"},
    {37, "J.INF"},
    {38, "Windows 3.X では実行できません。Windows 95/NT4 以降が必要です。"},
    {39, "%s は %s のインストールされたプログラムではないため、何も削除しませんでした。"},
    {40, "インストールは終了しましたが、一部のファイルがインストールされませんでした。もう一度インストールするか、アンインストールしてください。"},
};

static const ExpectedMessage kMessagesZh[] = {
    {1, "找不到設定檔或檔案已破損。"},
    {2, "移除項目已被其他應用程式使用。\n請刪除 %s 。"},
    {5, "%s - 已有相同名稱的檔案存在，無法建立資料夾。"},
    {6, "資料夾 %s 建立失敗。"},
    {7, "請選擇 %s 的安裝目標資料夾："},
    {8, "安裝 %s"},
    {9, "如果要解除安裝，請從控制台的「新增/移除程式」項目進行移除。"},
    {11, "無法安裝到根目錄。"},
    {12, "請設定包含磁碟機代號的完整路徑，例如 C:\\Soft\\ 。"},
    {18, "%s 正被其他程式使用中，無法取代檔案。"},
    {19, "%s 已存在。\n是否要取代檔案?\n\n 複製目標： %s\n 複製來源： %s"},
    {20, "確認取代檔案"},
    {21, "%s 複製失敗。"},
    {22, "已安裝完成。按一下「完成」鍵關閉安裝程式。"},
    {24, "%s 移除失敗。跳過這個檔案繼續作業。"},
    {26, "%s - 資料夾移除失敗。"},
    {27, "Reg機碼異常。"},
    {28, "%s 移除失敗。請先將 %s 關閉再重新執行移除程式。"},
    {29, "移除 %s"},
    {30, "已成功移除 %s。"},
    {32, "移除 %s。"},
    {33, "\n如果程式正在執行中，請先將程式關閉，然後按一下「確定」。"},
    {34, "啟動移除程式失敗。請自行刪除檔案。"},
    {35, "已安裝完成。"},
    {36, "已中斷安裝。"},
    {37, "ZT.INF"},
    {38, "不支援 Windows 3.X，必須在 Windows 95/NT4 或更新的版本執行。"},
    {39, "%s 不是已安裝的 %s 程式，因此未移除任何檔案。"},
    {40, "安裝已結束，但有部分檔案未安裝。請重新執行安裝，或將其移除。"},
};
