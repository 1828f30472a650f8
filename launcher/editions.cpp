// The texts are code page 1251: this file is compiled with -fexec-charset=CP1251.
#include "launcher/editions.h"

const EditionChoice editionChoices[editionCount] = {
    {"%sInstall_SPb\\setup.exe",
     "Для запуска программы установки Morvane Quillden с базой <Санкт-Петербург> на КПК нажмите кнопку "
     "\"Далее\""},
    {"%sInstall_Msk\\setup.exe",
     "Для запуска программы установки Morvane Quillden с базой <Москва> на КПК нажмите кнопку \"Далее\""},
    {"%sInstall_ALL\\setup.exe",
     "Для запуска программы установки Morvane Quillden с базами <Санкт-Петербург> и <Москва> на КПК "
     "нажмите кнопку \"Далее\""},
};
