// Text tables of the main, About and splash windows.
#include "app/texts.h"

namespace app {

const wchar_t kProgramTitle[] = L"Tavrik Backup";

bool IsSpanish(std::wstring_view lang) {
  // ESP, ESN, ESM and the other Spanish variants all start with ES.
  return lang.substr(0, 2) == L"ES";
}

MainTexts MainTextsFor(std::wstring_view lang) {
  if (IsSpanish(lang)) {
    return {
        L"CERRAR",
        L"CANCELAR",
        L"No encontrado",
        L"Debe indicar el destino de la copia",
        L"El destino de la copia no es válido. Por favor, indique un destino válido...",
        L"Cerrado (OK)",
        L"ABIERTO (ciérrelo)",
        L"La carpeta de copias no puede ser la misma que la carpeta a copiar",
        L"No se puede copiar a ",
        L"Error grabando en ",
        L"¡Cancelado!",
        L"Carpeta: ",
        L"archivo copiado",
        L"*no copiado*",
        L"cancelado por el usuario",
        L"Carpeta/archivo origen de la copia ",
        L"Seleccione la carpeta de la copia de seguridad",
        L"Por favor, espere...",
        L"enlace omitido",
        L"No se pudo guardar la configuración",
    };
  }
  return {
      L"CLOSE",
      L"CANCEL",
      L"Not found",
      L"Please, enter backup folder",
      L"Backup folder is not valid. Please, enter a valid target",
      L"Closed (OK)",
      L"OPEN (close-it)",
      L"Backup folder cannot be the same as source folder",
      L"Cannot backup to ",
      L"Error writing to ",
      L"Canceled!",
      L"Folder: ",
      L"file copied",
      L"*not copied*",
      L"user cancelled",
      L"Backup source file/folder ",
      L"Select backup folder",
      L"Please, wait...",
      L"link skipped",
      L"Settings could not be saved",
  };
}

MainCaptions MainCaptionsFor(std::wstring_view lang) {
  if (IsSpanish(lang)) {
    return {L"Usuario:", L"S.O.:", L"Correo:", L"Outlook está:", L"Seleccione carpetas",
            L"Tamaño de la copia:", L"Copiar a:", L"Si existen archivos en la carpeta de copias:",
            L"-Los archivos se fusionarán.",
            L"-Archivos con el mismo nombre serán sobreescritos.", L"Crear archivo de log",
            L"Ver archivo de log", L"Archivo", L"Salir", L"Ayuda", L"Acerca de"};
  }
  return {L"User:", L"O.S.:", L"Mail:", L"Outlook is:", L"Select folders", L"Backup size:",
          L"Backup to:", L"If exist files in backup folder:", L"- Files will be merged. ",
          L"- Files with identical name will be overwritten.", L"Write log file", L"View log",
          L"File", L"Exit", L"Help", L"About"};
}

AboutTexts AboutTextsFor(std::wstring_view lang) {
  if (IsSpanish(lang)) {
    return {L"Actualizar Software", L"Buscando...", L"Acerca de", L"Versión actual:",
            L"Nueva versión:", L"No se pudo comprobar si hay una versión nueva"};
  }
  return {L"Update Software", L"Searching...", L"About", L"Current version:",
          L"Latest version:", L"Could not check for a new version"};
}

std::wstring SplashLoadingText(std::wstring_view lang) {
  return IsSpanish(lang) ? L"Cargando..." : L"Loading...";
}

}  // namespace app
