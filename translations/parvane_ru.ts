<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CompareWindow</name>
    <message>
        <source>Compare with %1</source>
        <translation>Сравнение с %1</translation>
    </message>
</context>
<context>
    <name>DifferenceModel</name>
    <message>
        <source>changed</source>
        <translation>изменено</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>отклонено</translation>
    </message>
    <message>
        <source>only here</source>
        <translation>только здесь</translation>
    </message>
    <message>
        <source>only there</source>
        <translation>только там</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Изменение</translation>
    </message>
    <message>
        <source>Parameter path</source>
        <translation>Путь параметра</translation>
    </message>
    <message>
        <source>Current value</source>
        <translation>Текущее значение</translation>
    </message>
    <message>
        <source>Other value</source>
        <translation>Другое значение</translation>
    </message>
    <message>
        <source>your change</source>
        <translation>ваше изменение</translation>
    </message>
    <message>
        <source>new parameter</source>
        <translation>новый параметр</translation>
    </message>
    <message>
        <source>only in your file</source>
        <translation>только в вашем файле</translation>
    </message>
    <message>
        <source>new default</source>
        <translation>новое по умолчанию</translation>
    </message>
    <message numerus="yes">
        <source>Your changes (%n)</source>
        <translation>
            <numerusform>Ваши изменения (%n)</numerusform>
            <numerusform>Ваши изменения (%n)</numerusform>
            <numerusform>Ваши изменения (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Changed (%n)</source>
        <translation>
            <numerusform>Изменено (%n)</numerusform>
            <numerusform>Изменено (%n)</numerusform>
            <numerusform>Изменено (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Refused (%n)</source>
        <translation>
            <numerusform>Отклонено (%n)</numerusform>
            <numerusform>Отклонено (%n)</numerusform>
            <numerusform>Отклонено (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>New parameters (%n)</source>
        <translation>
            <numerusform>Новые параметры (%n)</numerusform>
            <numerusform>Новые параметры (%n)</numerusform>
            <numerusform>Новые параметры (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Only here (%n)</source>
        <translation>
            <numerusform>Только здесь (%n)</numerusform>
            <numerusform>Только здесь (%n)</numerusform>
            <numerusform>Только здесь (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Only in your file (%n)</source>
        <translation>
            <numerusform>Только в вашем файле (%n)</numerusform>
            <numerusform>Только в вашем файле (%n)</numerusform>
            <numerusform>Только в вашем файле (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Only there (%n)</source>
        <translation>
            <numerusform>Только там (%n)</numerusform>
            <numerusform>Только там (%n)</numerusform>
            <numerusform>Только там (%n)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>New defaults (%n)</source>
        <translation>
            <numerusform>Новые по умолчанию (%n)</numerusform>
            <numerusform>Новые по умолчанию (%n)</numerusform>
            <numerusform>Новые по умолчанию (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>New version&apos;s value</source>
        <translation>Значение новой версии</translation>
    </message>
    <message>
        <source>Your value</source>
        <translation>Ваше значение</translation>
    </message>
</context>
<context>
    <name>DifferenceView</name>
    <message numerus="yes">
        <source>All (%n)</source>
        <translation>
            <numerusform>Все (%n)</numerusform>
            <numerusform>Все (%n)</numerusform>
            <numerusform>Все (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Show:</source>
        <translation>Показать:</translation>
    </message>
    <message>
        <source>The files hold the same values.</source>
        <translation>Значения в файлах совпадают.</translation>
    </message>
</context>
<context>
    <name>DiskChangeBar</name>
    <message>
        <source>Reload</source>
        <translation>Перечитать</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Сравнить</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Игнорировать</translation>
    </message>
    <message>
        <source>Read the file again as it is on disk</source>
        <translation>Прочитать файл заново, как он записан на диске</translation>
    </message>
    <message>
        <source>Show how the values here differ from the file on disk</source>
        <translation>Показать, чем значения здесь отличаются от файла на диске</translation>
    </message>
    <message>
        <source>Hide this until the file changes again</source>
        <translation>Скрыть до следующего изменения файла</translation>
    </message>
    <message>
        <source>%1 was deleted or moved by another program.</source>
        <translation>Файл %1 удалён или перемещён другой программой.</translation>
    </message>
    <message>
        <source>%1 was changed by another program.</source>
        <translation>Файл %1 изменён другой программой.</translation>
    </message>
    <message>
        <source>Compare with %1 on disk</source>
        <translation>Сравнение с %1 на диске</translation>
    </message>
</context>
<context>
    <name>DocumentSession</name>
    <message>
        <source>Save file before opening another?</source>
        <translation>Сохранить файл перед открытием другого?</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Недостаточно памяти</translation>
    </message>
    <message>
        <source>Confirm Save As</source>
        <translation>Подтверждение сохранения</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 уже существует.
Заменить его?</translation>
    </message>
    <message>
        <source>Import from %1</source>
        <comment>the name of an import&apos;s undo step</comment>
        <translation>Импорт из %1</translation>
    </message>
    <message>
        <source>Upgrade: your settings file from the older version</source>
        <translation>Обновление: ваш файл настроек от прежней версии</translation>
    </message>
    <message>
        <source>Upgrade: the older version&apos;s own file, as it came with it (Cancel: without it)</source>
        <translation>Обновление: исходный файл прежней версии, каким он поставлялся (Отмена: без него)</translation>
    </message>
    <message>
        <source>Upgrade from an older version</source>
        <translation>Обновление с прежней версии</translation>
    </message>
    <message numerus="yes">
        <source>Only %1 of the %n parameters of your file are in this file: it may be the file of another add-on.

Go on with it as the older version&apos;s own file?</source>
        <translation>
            <numerusform>Только %1 из %n параметра вашего файла есть в этом файле: возможно, это файл другого дополнения.

Продолжить, считая его исходным файлом прежней версии?</numerusform>
            <numerusform>Только %1 из %n параметров вашего файла есть в этом файле: возможно, это файл другого дополнения.

Продолжить, считая его исходным файлом прежней версии?</numerusform>
            <numerusform>Только %1 из %n параметров вашего файла есть в этом файле: возможно, это файл другого дополнения.

Продолжить, считая его исходным файлом прежней версии?</numerusform>
        </translation>
    </message>
    <message>
        <source>Open another file</source>
        <translation>Открытие другого файла</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Перечитать</translation>
    </message>
    <message>
        <source>Discard the changes and read %1 again?</source>
        <translation>Отменить изменения и прочитать %1 заново?</translation>
    </message>
    <message>
        <source>File changed on disk</source>
        <translation>Файл изменён на диске</translation>
    </message>
    <message>
        <source>%1 was changed by another program after it was opened. Overwrite it?</source>
        <translation>Файл %1 был изменён другой программой после того, как его открыли. Перезаписать его?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Перезаписать</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Сохранить как…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>EntryMenu</name>
    <message>
        <source>%1 &quot;%2&quot;</source>
        <comment>undo or redo and the step&apos;s name</comment>
        <translation>%1 «%2»</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Copy value</source>
        <translation>Копировать значение</translation>
    </message>
    <message>
        <source>Copy path</source>
        <translation>Копировать путь</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Найти...</translation>
    </message>
    <message>
        <source>Next changed</source>
        <translation>Следующий изменённый</translation>
    </message>
</context>
<context>
    <name>FileOpenEdit</name>
    <message>
        <source>Open file</source>
        <translation>Открыть файл</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find:</source>
        <translation>Найти:</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 из %2</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>не найдено</translation>
    </message>
</context>
<context>
    <name>ImportPreviewWindow</name>
    <message>
        <source>Import from %1: preview</source>
        <translation>Импорт из %1: просмотр</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Импортировать</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Upgrade from %1: preview</source>
        <translation>Обновление из %1: просмотр</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>the upgrade&apos;s numbers: carried over, kept</comment>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n of your changes carried over</source>
        <translation>
            <numerusform>%n ваше изменение перенесено</numerusform>
            <numerusform>%n ваших изменения перенесено</numerusform>
            <numerusform>%n ваших изменений перенесено</numerusform>
        </translation>
    </message>
    <message>
        <source>1 new default kept</source>
        <translation>1 новое значение по умолчанию оставлено</translation>
    </message>
    <message numerus="yes">
        <source>%n new defaults kept</source>
        <translation>
            <numerusform>%n новое значение по умолчанию оставлено</numerusform>
            <numerusform>%n новых значения по умолчанию оставлено</numerusform>
            <numerusform>%n новых значений по умолчанию оставлено</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecordDetails</name>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message numerus="yes">
        <source> ... (%n bytes)</source>
        <translation>
            <numerusform> ... (%n байт)</numerusform>
            <numerusform> ... (%n байта)</numerusform>
            <numerusform> ... (%n байт)</numerusform>
        </translation>
    </message>
    <message>
        <source>changed, imported</source>
        <translation>изменено, импортировано</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>изменено</translation>
    </message>
    <message>
        <source>imported</source>
        <translation>импортировано</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>без изменений</translation>
    </message>
    <message>
        <source>range: %1 .. %2</source>
        <translation>диапазон: %1 .. %2</translation>
    </message>
    <message>
        <source>path: </source>
        <translation>путь: </translation>
    </message>
    <message>
        <source>occurrence: %1</source>
        <translation>повтор: %1</translation>
    </message>
    <message>
        <source>offset: </source>
        <translation>смещение: </translation>
    </message>
    <message>
        <source>payload: </source>
        <translation>данные: </translation>
    </message>
    <message>
        <source>before the import: </source>
        <translation>до импорта: </translation>
    </message>
    <message numerus="yes">
        <source>block not read: loading stopped here
offset: %1
kept: %n bytes from here to the end, written back as they are</source>
        <translation>
            <numerusform>блок не прочитан: загрузка остановлена здесь
смещение: %1
сохранён %n байт отсюда до конца, записывается обратно без изменений</numerusform>
            <numerusform>блок не прочитан: загрузка остановлена здесь
смещение: %1
сохранено %n байта отсюда до конца, записываются обратно без изменений</numerusform>
            <numerusform>блок не прочитан: загрузка остановлена здесь
смещение: %1
сохранено %n байт отсюда до конца, записываются обратно без изменений</numerusform>
        </translation>
    </message>
    <message>
        <source>unsigned integer</source>
        <translation>целое без знака</translation>
    </message>
    <message>
        <source>signed integer</source>
        <translation>целое со знаком</translation>
    </message>
    <message>
        <source>choice of %1</source>
        <translation>выбор из %1</translation>
    </message>
    <message>
        <source>coordinates X, Y</source>
        <translation>координаты X, Y</translation>
    </message>
    <message>
        <source>colour R, G, B, alpha</source>
        <translation>цвет R, G, B, альфа</translation>
    </message>
    <message>
        <source>section</source>
        <translation>раздел</translation>
    </message>
    <message>
        <source>section end</source>
        <translation>конец раздела</translation>
    </message>
    <message>
        <source>check box</source>
        <translation>флажок</translation>
    </message>
    <message>
        <source>time</source>
        <translation>время</translation>
    </message>
    <message>
        <source>date</source>
        <translation>дата</translation>
    </message>
    <message>
        <source>rectangle X1, Y1, X2, Y2</source>
        <translation>прямоугольник X1, Y1, X2, Y2</translation>
    </message>
    <message>
        <source>type %1</source>
        <translation>тип %1</translation>
    </message>
    <message>
        <source>text, UTF-8 with escape marks</source>
        <translation>текст, UTF-8 с экранированием</translation>
    </message>
    <message>
        <source>password</source>
        <translation>пароль</translation>
    </message>
    <message>
        <source>text</source>
        <translation>текст</translation>
    </message>
    <message>
        <source>text, UTF-8</source>
        <translation>текст, UTF-8</translation>
    </message>
    <message numerus="yes">
        <source>%1, up to %n bytes</source>
        <translation>
            <numerusform>%1, до %n байта</numerusform>
            <numerusform>%1, до %n байт</numerusform>
            <numerusform>%1, до %n байт</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Cannot set %1 to %2</source>
        <translation>Нельзя задать %1 значение %2</translation>
    </message>
    <message>
        <source>: no record has this path</source>
        <translation>: нет параметра с таким путём</translation>
    </message>
    <message>
        <source>: the path names a level</source>
        <translation>: путь указывает на раздел</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Строка %1: %2</translation>
    </message>
    <message>
        <source>Nothing to apply: %1 holds no settings</source>
        <translation>Нечего применять: в %1 нет настроек</translation>
    </message>
    <message>
        <source>a table</source>
        <translation>таблица</translation>
    </message>
    <message>
        <source>an array</source>
        <translation>массив</translation>
    </message>
    <message>
        <source>a floating-point number</source>
        <translation>дробное число</translation>
    </message>
    <message>
        <source>a boolean</source>
        <translation>логическое значение</translation>
    </message>
    <message>
        <source>a date or time</source>
        <translation>дата или время</translation>
    </message>
    <message>
        <source>a zero byte: this is not a text file</source>
        <translation>нулевой байт: это не текстовый файл</translation>
    </message>
    <message>
        <source>Line %1, column %2: this is not TOML: %3</source>
        <translation>Строка %1, столбец %2: это не TOML: %3</translation>
    </message>
    <message>
        <source>Cannot set %1</source>
        <translation>Нельзя задать %1</translation>
    </message>
    <message>
        <source>: a value is a string or an integer, not %1</source>
        <translation>: значение должно быть строкой или целым числом, а не «%1»</translation>
    </message>
</context>
<context>
    <name>SettingsTransfer</name>
    <message>
        <source>Settings as text (*.toml)</source>
        <translation>Настройки в виде текста (*.toml)</translation>
    </message>
    <message>
        <source>Only what differs from the old version&apos;s own file</source>
        <translation>Только отличия от исходного файла старой версии</translation>
    </message>
    <message>
        <source>Include passwords</source>
        <translation>Включая пароли</translation>
    </message>
    <message>
        <source>Export settings</source>
        <translation>Экспорт настроек</translation>
    </message>
    <message>
        <source>The old version&apos;s own file</source>
        <translation>Исходный файл старой версии</translation>
    </message>
    <message>
        <source>Apply settings</source>
        <translation>Применить настройки</translation>
    </message>
    <message>
        <source>Apply settings from %1</source>
        <comment>the name of the undo step</comment>
        <translation>Применение настроек из %1</translation>
    </message>
    <message>
        <source>These paths of %1 name no parameter of this file and were passed over:</source>
        <translation>Эти пути из %1 не указывают ни на один параметр этого файла и пропущены:</translation>
    </message>
</context>
<context>
    <name>TBCFGFile</name>
    <message>
        <source>&quot;%1&quot; was changed by another program after it was read; nothing was written</source>
        <translation>Файл «%1» был изменён другой программой после чтения; ничего не записано</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Compare with file</source>
        <translation>Сравнение с файлом</translation>
    </message>
    <message>
        <source>Import with preview</source>
        <translation>Импорт с просмотром</translation>
    </message>
    <message>
        <source>Compare with file...</source>
        <translation>Сравнить с файлом...</translation>
    </message>
    <message>
        <source>Import with preview...</source>
        <translation>Импорт с просмотром...</translation>
    </message>
    <message>
        <source>Upgrade from an older version...</source>
        <translation>Обновление с прежней версии...</translation>
    </message>
    <message>
        <source>Previous changed</source>
        <translation>Предыдущий изменённый</translation>
    </message>
    <message>
        <source>Copy label</source>
        <translation>Копировать метку</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Export settings...</source>
        <translation>Экспорт настроек...</translation>
    </message>
    <message>
        <source>Apply settings...</source>
        <translation>Применить настройки...</translation>
    </message>
</context>
</TS>
