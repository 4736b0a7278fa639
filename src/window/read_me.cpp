// The read-me text. Lines end in CR LF, except the very last one.
#include "window/read_me.h"

namespace tarnwipe {

const std::array<std::string, 7>& ReadMeBlocks() {
  static const std::array<std::string, 7> kBlocks = {
      "This app will erase files, to prevent recovering once deleted.\r\n"
      "\r\n"
      "It will overwrite the original data of a file several times. \r\n"
      "The default is 5 times, which is sufficient for most modern hard drives. \r\n"
      "To enhance obfuscation, each time a different character will be used for overwriting. \r\n"
      "Having done that, the file will be deleted.\r\n"
      "\r\n"
      "You can specify the files You want to erase. Default is all (*.*). \r\n"
      "But You one can opt for erasing only txt file (*.txt), or mp3 file (*.mp3), etc.. \r\n"
      "You can make combinations. For instance '*.txt,*.log,*.bat' will erase all txt, log and bat files in a map. \r\n"
      "This specification does not work when erasing single files.\r\n"
      "\r\n",

      "Before erasing the program will set all file attributes to normal. \r\n"
      "Thus all Hidden, Readonly and System files in a selected map will be erased.\r\n"
      "\r\n",

      "To prevent that the program will crash when all (memory) resources are exhausted, \r\n"
      "the number of files one can erase is limited to 3000/(sub)map. \r\n"
      "The same limit apllies to the number of submaps/map.\r\n"
      "\r\n"
      "To prevent a (possible) crash, one can not erase the map where Tarnwipe is rooted \r\n"
      "(so Tarnwipe.exe itself will not be erased). Nor can one erase the Windows map, \r\n"
      "the Program Files map or start erasing from the root map of the (running) Windows drive.\r\n"
      "\r\n",

      "Tarnwipe can be installed on any PC with Windows XP, Vista and W7.\r\n"
      "You may use Tarnwipe free of charge.\r\n"
      "\r\n",

      "Tarnwipe, its information and its documentation are provided as they are, without any \r\n"
      "warranty of any kind. The makers accept no liability for any damage caused by its use; \r\n"
      "you bear the whole risk of using it.\r\n"
      "\r\n",

      "You may not change the program, remove its messages or windows, or reverse engineer it. \r\n"
      "Nothing may be added to its ownership notices. The setup program may be passed on freely, \r\n"
      "provided it is not modified. All rights reserved.\r\n"
      "\r\n",

      "If you do not accept these terms, please remove Tarnwipe from your computer.\r\n"
      "Questions can be sent to the Tarnwipe team through the project's issue tracker.\r\n"
      "Tarnwipe is owned by the Tarnwipe team.",
  };
  return kBlocks;
}

}  // namespace tarnwipe
