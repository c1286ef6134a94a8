#include "app/TooltipTexts.h"

namespace qm::app {

const std::vector<TooltipEntry>& tooltipEntries() {
    static const std::vector<TooltipEntry> kEntries = {
        {{"windowList", "windowCaption"}, QStringLiteral("Выбрать размер окна Html5 плеера")},
        {{"fullScreenCheck"}, QStringLiteral("Выбрать режим полный экран (On/Off)")},
        {{"controlsCheck"},
         QStringLiteral("Панель управления плеера показать/спрятать:\rкнопки, панели, прочее.,"
                        "\rв окне плеера.")},
        {{"zoomCaption", "zoomList"},
         QStringLiteral("Выбрать значение Zoom:\rУправление приближением - значения от 40, до "
                        "MAX.\rпо умолчанию значение - 70.")},
        {{"controlBarList"},
         QStringLiteral("Выбрать режим панели управления:\rAuto - по умолчанию и Мини.")},
        {{"yawCaption", "yawList"},
         QStringLiteral("Выбрать Yaw значение:\rгоризонтальная позиция просмотра, от 0 до 360 "
                        "градусов.\rПо умолчанию: 0 градусов.")},
        {{"audioList", "audioCaption"},
         QStringLiteral(" Выбрать Audio значение громкости:\rAudio громкость: от 0 ~ 100%\r По "
                        "умолчанию: 50%")},
        {{"qualCaption", "qualList"},
         QStringLiteral("Выбрать качество формирования сегментов сферы ")},
        {{"maxFpsCaption", "maxFpsList"}, QStringLiteral("Выбрать скорость рендеринга ")},
        {{"htmlBgColorCaption", "htmlBgSwatch", "htmlBgButton"},
         QStringLiteral("Выбрать фоновый цвет\rдля Html web страницы.")},
        {{"htmlTitleBox", "htmlTitleCaption"},
         QStringLiteral("Добавить титульный текст <TITLE> text\r для Html web страницы.")},
        {{"classicOption"},
         QStringLiteral("Выбрать \"Classic\" режим просмотра, для видео сферического формата и "
                        "автоматического ограничение углов просмотра, для видео цилиндрического "
                        "формата.")},
        {{"blackAreasOption"},
         QStringLiteral("Выбрать \"Black Areas\" режим для просмотра любого формата видео, в т.ч. "
                        "цилиндрического формата с черными зонами сверху и снизу сферы.")},
        {{"tiltCaption", "tiltList"},
         QStringLiteral("Ограничение вертикального угла просмотра видео сферического "
                        "формата:\rверх: 50 ~ 90 градусов.\rниз -50 ~ -90 градусов.\rЭто "
                        "работает только в режиме \"Classic\"\rИспользуйте режим \"auto\" для "
                        "видео цилиндрического формата.")},
        {{"pitchCaption", "pitchList"},
         QStringLiteral("Установить позицию вертикального угла просмотра:\r 30 ~ -30 градусов, 0 "
                        "градусов по умолчанию\rИспользуйте режим \"auto\" в большинстве "
                        "случаев.")},
        {{"blackAreaButton", "blackAreaSwatch"},
         QStringLiteral("Выбрать цвет для верхней и нижней зоны видео цилиндрического формата - "
                        "\"Black Areas\"")},
        {{"mouseSpeedCaption", "mouseSpeedList"},
         QStringLiteral("Выбрать скорость управления мышкой")},
        {{"statCheck"}, QStringLiteral("Показать/спрятать панель Статистических данных")},
        {{"winPosXList", "winPosXCaption"},
         QStringLiteral("Выбрать горизонтальное выравнивание окна плеера на html "
                        "странице:\r'left','right','center'")},
        {{"winPosYList", "winPosYCaption"},
         QStringLiteral(" Выбрать вертикальное выравнивание окна плеера на html "
                        "странице:\r'top','bottom','center'")},
        {{"manualSizeCheck", "manualWidthBox", "manualHeightBox"},
         QStringLiteral("Выбрать a собственный размер окна для html5 видео плеера. ")},
        {{"mutedCheck"},
         QStringLiteral("Некоторые Интернет браузеры блокируют автостарт 360 видео со звуком на "
                        "html странице\rИспользуйте параметр <muted> для разблокирование "
                        "автостарта 360 видео с отключенным звуком")},
        {{"manualTiltBox"},
         QStringLiteral("Установить вручную значение вертикального угла позиции просмотра "
                        "просмотра - \r 30 ~ 90 градусов")},
        {{"lockFullScreenCheck"}, QStringLiteral("Блокировать Полноэкранный режим Вкл./Выкл.")},
    };
    return kEntries;
}

} // namespace qm::app
