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
        <message numerus="yes">
            <source>changed (%n)</source>
            <translation>
                <numerusform>изменено (%n)</numerusform>
                <numerusform>изменено (%n)</numerusform>
                <numerusform>изменено (%n)</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>refused (%n)</source>
            <translation>
                <numerusform>отклонено (%n)</numerusform>
                <numerusform>отклонено (%n)</numerusform>
                <numerusform>отклонено (%n)</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>only here (%n)</source>
            <translation>
                <numerusform>только здесь (%n)</numerusform>
                <numerusform>только здесь (%n)</numerusform>
                <numerusform>только здесь (%n)</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>only there (%n)</source>
            <translation>
                <numerusform>только там (%n)</numerusform>
                <numerusform>только там (%n)</numerusform>
                <numerusform>только там (%n)</numerusform>
            </translation>
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
    </context>
    <context>
        <name>DifferenceView</name>
        <message numerus="yes">
            <source>All (%n)</source>
            <translation>
                <numerusform>все (%n)</numerusform>
                <numerusform>все (%n)</numerusform>
                <numerusform>все (%n)</numerusform>
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
        <name>EntryMenu</name>
        <message>
            <source>%1 "%2"</source>
            <comment>undo or redo and the step's name</comment>
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
    </context>
</TS>
