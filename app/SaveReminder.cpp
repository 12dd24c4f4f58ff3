#include "SaveReminder.h"

#include "MapViewHost.h"
#include "MessageBox.h"
#include "PublicVal.h"

void SaveReminder::tmrSave_Timer() {
    if (gvSaveInterval == 0 || host_.Plotting()) return;
    const QString active = host_.ActiveWindowName();
    const bool inList = active == QStringLiteral("frmMapList");
    if (!(active == QStringLiteral("frmMain") || inList) || host_.MainMinimized()) return;
    ++SaveMinuteCount;
    // At or past the interval: a shorter interval set meanwhile still asks.
    if (SaveMinuteCount < gvSaveInterval) return;
    SaveMinuteCount = 0;
    if (!host_.AnyMapModified()) return;
    if (!plat::AskYesNo(QStringLiteral("《タイマーからのメッセージ》\r\n修正されている地図があります. 上書き保存しますか？")))
        return;
    host_.Overwrite();
    if (inList) host_.RefreshMapListCaption();
}
