// Every class the program's form descriptions name, registered once.
#pragma once

void RegisterSkinClasses();
